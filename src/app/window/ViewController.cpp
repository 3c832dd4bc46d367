#include "app/window/ViewController.h"

#include "app/base/BackgroundTask.h"
#include "app/base/FailureMessage.h"
#include "app/canvas/CustomImageView.h"
#include "app/canvas/IconImageDropTarget.h"
#include "app/canvas/IconImageLoading.h"
#include "app/canvas/InfoProvider.h"
#include "app/canvas/InterimPreview.h"
#include "app/canvas/ProgressIndicator.h"
#include "app/dialogs/HelpPages.h"
#include "app/inspector/ColorWell.h"
#include "app/inspector/CustomTextField.h"
#include "app/inspector/EditorLayout.h"
#include "app/inspector/FloatSlider.h"
#include "app/inspector/ScrubLabel.h"
#include "app/inspector/Stepper.h"
#include "app/inspector/ValueDrags.h"
#include "app/window/CrashRecovery.h"
#include "app/window/MenuShortcutPriority.h"
#include "design/DesignValues.h"
#include "design/FontFamilies.h"
#include "export/ExportOptions.h"
#include "export/ExportRun.h"
#include "export/OutputFormat.h"
#include "export/Prompter.h"
#include "export/SizeSets.h"
#include "export/ValidatedNumber.h"
#include "imageio/SvgImage.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileText.h"
#include "profiles/WindowTitle.h"
#include "render/ImageTools.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <utility>

namespace {

// The dotted canvas margins of the preview: grey 118/255, 121/255, 124/255, four units wide.
const QColor kMarginColor =
    QColor::fromRgbF(0.4627450980392157f, 0.4745098039215686f, 0.48627450980392156f, 1.0f);
constexpr double kMarginLineWidth = 4.0;

// Stepper clicks closer together than this render once.
constexpr int kPreviewDelayMs = 200;

QImage RenderWithImageTools(const IconDesign& design, const RenderOptions& options) {
    return ImageTools::RenderIcon(design, options);
}

// A number field and its stepper with the range and fallback of the number text's row.
NumberPair PairOf(QLineEdit* field, Stepper* stepper, const char* value, bool wholeNumberText) {
    const DesignValues::Row& row = *DesignValues::Find(QLatin1String(value));
    return {field,
            stepper,
            row.fallback.toLongLong(),
            qint64(row.minimum),
            qint64(row.maximum),
            wholeNumberText};
}

} // namespace

ViewController::ViewController(Prompter& prompter, RatePreference& ratePreference,
                               Renderer renderer, QWidget* parent)
    : QWidget(parent), m_prompter(prompter), m_infoProvider(InfoProvider::Shared()),
      m_ratingCheck(prompter, ratePreference,
                    [](const QUrl& url) { QDesktopServices::openUrl(url); }),
      m_renderer(renderer ? std::move(renderer) : Renderer(RenderWithImageTools)),
      m_controls(EditorLayout::Build(this, prompter)), m_bindings(*this) {
    const EditorControls& c = m_controls;
    // Field, stepper, the number text's design value, whether the stepper writes whole numbers.
    m_iconVerticalOffset = PairOf(c.textFieldIconVerticalOffset, c.stepperIconVerticalOffset,
                                  "iconVerticalOffsetText", true);
    m_iconHorizontalOffset = PairOf(c.textFieldIconHorizontalOffset, c.stepperIconHorizontalOffset,
                                    "iconHorizontalOffsetText", true);
    m_iconScale = PairOf(c.textFieldIconScale, c.stepperIconScale, "iconScaleText", false);
    m_textVerticalOffset = PairOf(c.textFieldTextVerticalOffset, c.stepperTextVerticalOffset,
                                  "textVerticalOffsetText", true);
    m_textHorizontalOffset = PairOf(c.textFieldTextHorizontalOffset, c.stepperTextHorizontalOffset,
                                    "textHorizontalOffsetText", true);
    m_fontSize = PairOf(c.textFieldFontSize, c.stepperFontSize, "fontSizeText", true);

    m_timerPreview.setSingleShot(true);
    m_timerPreview.setInterval(kPreviewDelayMs);
    connect(&m_timerPreview, &QTimer::timeout, this, &ViewController::UpdateIconPreview);

    m_profiles = new ProfileCommands(*this, prompter);
    m_recovery = new CrashRecovery(*this, prompter);
    m_menuActions = MenuActions::Create(*this);
    auto* shortcuts =
        new MenuShortcutPriority(findChildren<QAction*>(Qt::FindDirectChildrenOnly), this);
    for (QLineEdit* field : findChildren<QLineEdit*>())
        shortcuts->Watch(field);
    m_interimPreview = new InterimPreview(m_renderer, *m_controls.imageViewIcon, this);
    connect(m_interimPreview, &InterimPreview::ready, this, &ViewController::ShowInterimPreview);
    m_valueDrags = new ValueDrags(findChildren<FloatSlider*>(), findChildren<ScrubLabel*>(), this);
    // A render running or waiting records the drag's end state when it completes.
    connect(m_valueDrags, &ValueDrags::dragFinished, this, [this] {
        if (!m_updating && !m_timerPreview.isActive())
            RecordState();
    });
    FillPopUps();
    // Also subscribes to the drop announcements of the preview and the path field.
    ConnectControls();
    // Files dropped anywhere else on the window are taken as on the preview.
    new IconImageDropTarget(this, prompter, [this](const QString& path) { LoadIconImage(path); });
    for (IconImageDropTarget* target : findChildren<IconImageDropTarget*>())
        connect(target, &IconImageDropTarget::profileDropped, this,
                &ViewController::OpenProfileAsked);
    m_iconLoading = new IconImageLoading(this);
    m_controls.progressIndicator->hide();
    ResetToDefaults();
}

void ViewController::ConnectControls() {
    const EditorControls& c = m_controls;
    const auto onClick = [this](QAbstractButton* button, void (ViewController::*slot)()) {
        connect(button, &QAbstractButton::clicked, this, slot);
    };
    const auto onStepper = [this](Stepper* stepper, void (ViewController::*slot)()) {
        connect(stepper, &Stepper::valueChanged, this, slot);
    };
    // Return always commits a field; leaving it commits only what the user changed, so
    // moving the focus through the window edits nothing.
    const auto onField = [this](QLineEdit* field, void (ViewController::*slot)()) {
        connect(field, &QLineEdit::returnPressed, this, [this, field, slot] {
            field->setModified(false);
            (this->*slot)();
        });
        connect(field, &QLineEdit::editingFinished, this, [this, field, slot] {
            if (!field->isModified())
                return;
            field->setModified(false);
            (this->*slot)();
        });
    };

    // Every control of a layer's value renders and marks the design as changed, the text while
    // it is typed; the number fields and their steppers keep their own rules below.
    for (const DesignValues::Row& row : DesignValues::Table()) {
        if (DesignValues::LayerOf(row) == DesignValues::Layer::None)
            continue;
        QObject* control = findChild<QObject*>(QLatin1String(row.control));
        if (auto* check = qobject_cast<QCheckBox*>(control))
            connect(check, &QCheckBox::clicked, this, &ViewController::CommonEdit);
        else if (auto* well = qobject_cast<ColorWell*>(control))
            connect(well, &ColorWell::colorChanged, this, &ViewController::CommonEdit);
        else if (auto* slider = qobject_cast<FloatSlider*>(control))
            connect(slider, &FloatSlider::valueChanged, this, &ViewController::CommonEdit);
        else if (auto* popUp = qobject_cast<QComboBox*>(control))
            connect(popUp, &QComboBox::activated, this, &ViewController::CommonEdit);
        else if (row.kind == DesignValues::Kind::Text)
            connect(qobject_cast<QLineEdit*>(control), &QLineEdit::textEdited, this,
                    &ViewController::CommonEdit);
    }

    onField(c.textFieldIconVerticalOffset, &ViewController::OnIconVerticalOffsetTextFieldChanged);
    onField(c.textFieldIconHorizontalOffset,
            &ViewController::OnIconHorizontalOffsetTextFieldChanged);
    onField(c.textFieldIconScale, &ViewController::OnIconScaleTextFieldChanged);
    onField(c.textFieldTextVerticalOffset, &ViewController::OnTextVerticalOffsetTextFieldChanged);
    onField(c.textFieldTextHorizontalOffset,
            &ViewController::OnTextHorizontalOffsetTextFieldChanged);
    onField(c.textFieldFontSize, &ViewController::OnFontSizeTextFieldChanged);
    onStepper(c.stepperIconVerticalOffset, &ViewController::OnIconVerticalOffsetChanged);
    onStepper(c.stepperIconHorizontalOffset, &ViewController::OnIconHorizontalOffsetChanged);
    onStepper(c.stepperIconScale, &ViewController::OnIconScaleChanged);
    onStepper(c.stepperTextVerticalOffset, &ViewController::OnTextVerticalOffsetChanged);
    onStepper(c.stepperTextHorizontalOffset, &ViewController::OnTextHorizontalOffsetChanged);
    onStepper(c.stepperFontSize, &ViewController::OnFontSizeChanged);
    onField(c.textFieldCanvasWidth, &ViewController::OnCanvasWidthChanged);
    onField(c.textFieldCanvasHeight, &ViewController::OnCanvasHeightChanged);

    onClick(c.radioiOSIconSet, &ViewController::OniOSIconSetSelected);
    onClick(c.radiowatchOSIconSet, &ViewController::OnwatchOSIconSetSelected);
    onClick(c.radioMacOSXIconSet, &ViewController::OnMacOSXIconSetSelected);
    onClick(c.radioCustomSize, &ViewController::OnCustomSizeSelected);
    for (QCheckBox* check : c.iosSizeChecks)
        onClick(check, &ViewController::OnPresetSizesChanged);
    for (QCheckBox* check : c.watchSizeChecks)
        onClick(check, &ViewController::OnPresetSizesChanged);
    for (QCheckBox* check : c.macSizeChecks)
        onClick(check, &ViewController::OnPresetSizesChanged);
    onField(c.textFieldCustomWidth, &ViewController::OnCustomSizeWidthChanged);
    onField(c.textFieldCustomHeight, &ViewController::OnCustomSizeHeightChanged);
    connect(c.comboIconFormat, &QComboBox::activated, this, &ViewController::OnOutputFormatChanged);
    onField(c.textFieldQuality, &ViewController::OnTextFieldQualityChanged);
    onStepper(c.stepperQuality, &ViewController::OnStepperQualityChanged);
    onField(c.textFieldName, &ViewController::OnNamePatternChanged);

    onClick(c.buttonSelectIconImage, &ViewController::OnSelectIconImage);
    onClick(c.buttonClearIconImage, &ViewController::OnClearIconImage);
    onClick(c.buttonSaveIcons, &ViewController::OnSaveIcons);
    connect(c.imageViewIcon, &CustomImageView::ImageViewDragPerformed, this,
            &ViewController::ImageViewDragPerformed);
    connect(c.textFieldIconImage, &CustomTextField::TextFieldDragPerformed, this,
            &ViewController::TextFieldDragPerformed);
}

void ViewController::FillPopUps() {
    m_controls.comboFontType->clear();
    m_controls.comboFontType->addItems(FontFamilyList());
    m_controls.comboIconFormat->clear();
    for (const OutputFormat& format : OutputFormat::List())
        m_controls.comboIconFormat->addItem(format.title);
}

// ---- Settings and profile text ----

void ViewController::WriteSettings(const DesignSettings& settings) {
    m_bindings.Write(settings);
    UpdateQualityControlsEnabled();
}

void ViewController::UpdateQualityControlsEnabled() {
    const bool enabled =
        OutputFormat::QualityControlsEnabled(m_controls.comboIconFormat->currentIndex());
    m_controls.textFieldQuality->setEnabled(enabled);
    m_controls.stepperQuality->setEnabled(enabled);
}

QString ViewController::MakeProfileText() const {
    return ::MakeProfileText(m_bindings.Read());
}

bool ViewController::ApplyProfileText(const QString& text, bool olderLayoutsAccepted) {
    DesignSettings settings = m_bindings.Read();
    if (!::ApplyProfileText(settings, text, olderLayoutsAccepted))
        return false;
    WriteSettings(settings);
    return true;
}

void ViewController::ResetToDefaults() {
    WriteSettings(DesignSettings{});
    m_controls.textFieldIconImage->clear();
    m_iconImage = QImage();
    m_iconVector.reset();
    m_currentIcon = QImage();
    RestartHistory();
    m_infoProvider.isIconAdded = false;
    UpdateIconPreview();
}

// ---- Preview ----

void ViewController::UpdateIconPreview() {
    if (m_editingTogether) {
        m_previewWanted = true;
        return;
    }
    const IconDesign design = MakeIconDesign(m_bindings.Read(), m_iconImage, m_iconVector);
    m_interimDrawsLatest = m_interimPreview->Request(design);
    if (m_updating) {
        m_selectionChanged = true;
        return;
    }
    if (m_fullSizeHeld && m_interimDrawsLatest) {
        m_fullSizeOwed = true;
        return;
    }
    RenderFullSize(design);
}

void ViewController::EditTogether(const std::function<void()>& edits) {
    m_editingTogether = true;
    edits();
    m_editingTogether = false;
    if (std::exchange(m_previewWanted, false))
        UpdateIconPreview();
}

void ViewController::HoldFullSizePreview(bool held) {
    m_fullSizeHeld = held;
    if (!held)
        RenderOwedPicture();
}

void ViewController::RenderOwedPicture() {
    if (!std::exchange(m_fullSizeOwed, false))
        return;
    if (m_updating)
        m_selectionChanged = true;
    else
        RenderFullSize(ShownDesign());
}

void ViewController::RenderFullSize(const IconDesign& design) {
    m_updating = true;
    m_fullSizeOwed = false; // this picture draws the latest design
    m_controls.progressIndicator->show();
    m_controls.progressIndicator->startAnimation();
    struct Rendered {
        QImage picture;
        bool iconRefused = false; // the image helper refused to draw the icon at its size
    };
    BackgroundTask::Run<Rendered>(
        [renderer = m_renderer, design] {
            const auto refusals = [&] {
                return design.iconVector ? design.iconVector->refusedDrawings() : 0;
            };
            const int before = refusals();
            Rendered rendered{renderer(design, RenderOptions{})};
            rendered.iconRefused = refusals() != before;
            return rendered;
        },
        this,
        [this](const Rendered& rendered) {
            if (!rendered.iconRefused || m_currentIcon.isNull()) {
                IconPreviewRendered(rendered.picture);
                return;
            }
            // The last good picture stays; the user hears of it once for each image.
            if (!m_toldDrawingRefused) {
                m_toldDrawingRefused = true;
                m_prompter.Alert(FailureMessage::Compose(
                    QStringLiteral("The image could not be loaded."),
                    m_controls.textFieldIconImage->text(),
                    QStringLiteral("Drawing it at this size takes more than 10 seconds or "
                                   "1.5 GB; the preview keeps its last picture.")));
            }
            IconPreviewRendered(m_currentIcon);
        });
}

void ViewController::IconPreviewRendered(const QImage& rendering) {
    m_currentIcon = rendering;
    m_updating = false;
    if (m_selectionChanged) {
        // The controls changed during the render: render them as they are now, and show and
        // record only that picture. The interim preview already shows them.
        m_selectionChanged = false;
        if (!m_fullSizeHeld || !m_interimDrawsLatest) {
            RenderFullSize(MakeIconDesign(m_bindings.Read(), m_iconImage, m_iconVector));
            return;
        }
        // Held: the interim picture, newer than this one, stays until the drag ends.
        m_fullSizeOwed = true;
    }
    if (!loadingIconImage()) {
        m_controls.progressIndicator->stopAnimation();
        m_controls.progressIndicator->hide();
    }
    if (m_fullSizeOwed)
        return;
    m_interimPreview->Supersede();
    m_interimIcon = QImage();
    DisplayIconPreview();
    // A drag is recorded when it ends; a record that was to be skipped is still used up.
    if (!m_valueDrags->dragging() || !m_history.needToSaveState())
        RecordState();
    emit previewFinished();
}

void ViewController::ShowInterimPreview(const QImage& picture, double scale) {
    m_interimIcon = picture;
    m_interimScale = scale;
    DisplayIconPreview();
}

void ViewController::DisplayIconPreview() {
    const bool interim = !m_interimIcon.isNull();
    const QImage& picture = interim ? m_interimIcon : m_currentIcon;
    if (picture.width() == 0 && picture.height() == 0)
        return;
    // The margins are as wide in design units on the smaller interim picture.
    const double lineWidth = kMarginLineWidth * (interim ? m_interimScale : 1.0);
    const QSize canvas =
        interim ? (QSizeF(picture.size()) / m_interimScale).toSize() : picture.size();
    m_controls.imageViewIcon->setImage(
        m_showGridlines ? ImageTools::DrawCanvasMargins(picture, kMarginColor, lineWidth) : picture,
        canvas);
}

void ViewController::OnShowCanvasMargins() {
    m_showGridlines = !m_showGridlines;
    QAction* item = m_menuActions.showCanvasMargins;
    const QString showTitle = QStringLiteral("Show Canvas Margins");
    const QString hideTitle = QStringLiteral("Hide Canvas Margins");
    if (item->text() == (m_showGridlines ? showTitle : hideTitle))
        item->setText(m_showGridlines ? hideTitle : showTitle);
    DisplayIconPreview();
}

// ---- Design edits ----

void ViewController::CommonEdit() {
    UpdateIconPreview();
    MarkAsModified();
}

void ViewController::FieldRule(const NumberPair& pair) {
    pair.TakeTyped();
    UpdateIconPreview();
    MarkAsModified();
}

void ViewController::StepperRule(const NumberPair& pair) {
    pair.ShowStepped();
    m_timerPreview.start(); // restarts a pending delay, so a burst of clicks renders once
    MarkAsModified();
}

void ViewController::OnCanvasWidthChanged() {
    CanvasRule(m_controls.textFieldCanvasWidth, m_controls.textFieldCustomWidth);
}

void ViewController::OnCanvasHeightChanged() {
    CanvasRule(m_controls.textFieldCanvasHeight, m_controls.textFieldCustomHeight);
}

void ViewController::CanvasRule(QLineEdit* canvasField, QLineEdit* customField) {
    // The exported custom size follows the canvas.
    for (QRadioButton* radio : {m_controls.radioiOSIconSet, m_controls.radiowatchOSIconSet,
                                m_controls.radioMacOSXIconSet, m_controls.radioCustomSize}) {
        const QSignalBlocker blocker(radio);
        radio->setChecked(radio == m_controls.radioCustomSize);
    }
    {
        const QSignalBlocker blocker(canvasField);
        canvasField->setText(::ValidateCustomSize(canvasField->text()).text);
    }
    {
        const QSignalBlocker blocker(customField);
        customField->setText(canvasField->text());
    }
    UpdateIconPreview();
    MarkAsModified();
}

// ---- Output settings ----

void ViewController::OutputEdit() {
    MarkAsModified();
    RecordState();
}

void ViewController::SelectIconSet(QRadioButton* chosen) {
    for (QRadioButton* radio : {m_controls.radioiOSIconSet, m_controls.radiowatchOSIconSet,
                                m_controls.radioMacOSXIconSet, m_controls.radioCustomSize}) {
        const QSignalBlocker blocker(radio);
        // A click on the chosen set keeps it chosen: exactly one set is on.
        radio->setChecked(radio == chosen);
    }
    OutputEdit();
}

void ViewController::OniOSIconSetSelected() {
    SelectIconSet(m_controls.radioiOSIconSet);
}

void ViewController::OnwatchOSIconSetSelected() {
    SelectIconSet(m_controls.radiowatchOSIconSet);
}

void ViewController::OnMacOSXIconSetSelected() {
    SelectIconSet(m_controls.radioMacOSXIconSet);
}

void ViewController::OnCustomSizeSelected() {
    SelectIconSet(m_controls.radioCustomSize);
}

void ViewController::OnPresetSizesChanged() {
    OutputEdit();
}

void ViewController::ValidateCustomSize(QLineEdit* field) {
    {
        const QSignalBlocker blocker(field);
        field->setText(::ValidateCustomSize(field->text()).text);
    }
    OutputEdit();
}

void ViewController::OnCustomSizeWidthChanged() {
    ValidateCustomSize(m_controls.textFieldCustomWidth);
}

void ViewController::OnCustomSizeHeightChanged() {
    ValidateCustomSize(m_controls.textFieldCustomHeight);
}

void ViewController::OnOutputFormatChanged() {
    UpdateQualityControlsEnabled();
    OutputEdit();
}

void ViewController::OnTextFieldQualityChanged() {
    const ValidatedNumber quality = ValidateQuality(m_controls.textFieldQuality->text());
    {
        const QSignalBlocker blocker(m_controls.textFieldQuality);
        m_controls.textFieldQuality->setText(quality.text);
    }
    m_controls.stepperQuality->setValue(quality.value);
    OutputEdit();
}

void ViewController::OnStepperQualityChanged() {
    {
        const QSignalBlocker blocker(m_controls.textFieldQuality);
        m_controls.textFieldQuality->setText(QString::number(m_controls.stepperQuality->value()));
    }
    OutputEdit();
}

void ViewController::OnNamePatternChanged() {
    OutputEdit();
}

// ---- Export ----

void ViewController::CommitFieldBeingEdited() {
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
        focused->setFocus();
    }
}

void ViewController::BringPreviewUpToDate() {
    CommitFieldBeingEdited();
    // A drag whose release never came (a grab the window system took away) still holds back
    // the full-size picture: what is exported or saved is the design as shown.
    RenderOwedPicture();
    // A stepper's delayed preview renders now rather than after the export.
    if (m_timerPreview.isActive()) {
        m_timerPreview.stop();
        UpdateIconPreview();
    }
    if (!m_updating)
        return;
    // Only the renders and the progress indicator run meanwhile; the user's input waits.
    QEventLoop loop;
    connect(this, &ViewController::previewFinished, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

IconDesign ViewController::LatestDesign() {
    BringPreviewUpToDate();
    return ShownDesign();
}

IconDesign ViewController::ShownDesign() const {
    return MakeIconDesign(m_bindings.Read(), m_iconImage, m_iconVector);
}

void ViewController::OnSaveIcons() {
    BringPreviewUpToDate();
    const DesignSettings settings = m_bindings.Read();
    ExportRun run(m_prompter, ExportOptions::FromSettings(settings));
    run.SaveIcons(m_currentIcon, SizeSets::SizeList(settings), &m_ratingCheck);
}

// ---- History ----

void ViewController::RecordState() {
    m_history.RecordState(MakeProfileText());
}

void ViewController::RestoreState(int index) {
    if (!ApplyProfileText(m_history.stateImagesPath().at(index), false))
        return;
    m_history.SkipNextRecord();
    UpdateIconPreview();
}

void ViewController::RestartHistory() {
    m_history.RestartHistory(MakeProfileText());
}

void ViewController::OnUndo() {
    if (m_history.Undo())
        RestoreState(m_history.currenState());
}

void ViewController::OnRedo() {
    if (m_history.Redo())
        RestoreState(m_history.currenState());
}

// ---- Application ----

bool ViewController::windowShouldClose() {
    return m_profiles->ConfirmQuit();
}

void ViewController::OnAppQuit() {
    if (m_profiles->ConfirmQuit())
        emit terminateRequested();
}

void ViewController::OnHowToCreateMacAppIcons() {
    emit helpPageRequested(HelpPages::Url(HelpPages::MacAppIcons));
}

void ViewController::OnHowToCreateAnIOSAppIcon() {
    emit helpPageRequested(HelpPages::Url(HelpPages::IOSAppIcon));
}

void ViewController::OnHowToCreateALogo() {
    emit helpPageRequested(HelpPages::Url(HelpPages::Logo));
}
