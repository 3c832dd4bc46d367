#pragma once

#include "app/canvas/IconImageLoading.h"
#include "app/inspector/ControlBindings.h"
#include "app/inspector/EditorControls.h"
#include "app/inspector/NumberPair.h"
#include "app/window/MenuActions.h"
#include "app/window/ProfileCommands.h"
#include "design/IconDesign.h"
#include "export/RatingCheck.h"
#include "profiles/StateHistory.h"
#include "render/RenderOptions.h"

#include <QImage>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>
#include <QWidget>
#include <functional>
#include <optional>

class CrashRecovery;
class InfoProvider;
class InterimPreview;
class Prompter;
class RatePreference;
class ValueDrags;
class QAction;
class QLineEdit;
class QRadioButton;
class Stepper;

// The editor: owns the window's controls (the only store of the design while it is edited)
// and the editor state, and carries every action of the window and its menus. All of it runs
// on the GUI thread; only the rendering of the preview runs on the thread pool.
class ViewController : public QWidget {
    Q_OBJECT

public:
    // Draws a design as the options ask; the full-size preview uses the default options.
    using Renderer = std::function<QImage(const IconDesign&, const RenderOptions&)>;

    // The prompter answers every question and chooses every file, the rate preference keeps
    // "ShowRateMessage"; both must outlive the controller. The renderer runs on a worker
    // thread, for the full-size preview and the interim one; without one the design renderer
    // is used.
    ViewController(Prompter& prompter, RatePreference& ratePreference, Renderer renderer = {},
                   QWidget* parent = nullptr);

    using MenuActions = ::MenuActions;
    const MenuActions& menuActions() const { return m_menuActions; }
    const EditorControls& controls() const { return m_controls; }

    // Editor state.
    const QImage& iconImage() const { return m_iconImage; }
    const std::shared_ptr<const SvgImage>& iconVector() const { return m_iconVector; }
    const QImage& currentIcon() const { return m_currentIcon; }
    const QString& currentProfilePath() const { return m_profiles->currentPath(); }
    bool updating() const { return m_updating; }
    bool loadingIconImage() const;
    bool selectionChanged() const { return m_selectionChanged; }
    bool showGridlines() const { return m_showGridlines; }
    bool rateMessageShown() const { return m_ratingCheck.RateMessageShown(); }
    const StateHistory& history() const { return m_history; }

    // Puts every control and the editor state to the defaults of a new design.
    void ResetToDefaults();

    // The preview: a snapshot of the controls rendered off the GUI thread, one render at a
    // time; requests during a render are folded into one follow-up render. Meanwhile an
    // interim picture at the preview's own size shows the latest design.
    void UpdateIconPreview();
    void DisplayIconPreview();

    // Runs `edits`, which set controls as the user would, and asks for the preview once, after
    // the last: values changed together are drawn together, never one without the others.
    void EditTogether(const std::function<void()>& edits);

    // While held (a layer dragged on the canvas), the interim pictures alone follow the edits
    // that they can show; the full-size picture of the latest design is drawn when let go.
    void HoldFullSizePreview(bool held);

    // The unsaved-changes marker at the end of the window title.
    void MarkAsModified() { m_profiles->MarkAsModified(); }

    // The design as profile text, and back into the controls (false, and nothing changed,
    // when the text is not a profile).
    QString MakeProfileText() const;
    bool ApplyProfileText(const QString& text, bool olderLayoutsAccepted);

    // The undo/redo history.
    void RecordState();
    void RestoreState(int index);
    void RestartHistory();

    // The profile files and the unsaved-changes question.
    ProfileCommands& profiles() { return *m_profiles; }
    // The recovery file of the unsaved changes, and the one a crash left.
    CrashRecovery& recovery() { return *m_recovery; }
    void OpenProfileAsked(const QString& path) { m_profiles->OpenAsked(path); }

    // A field being edited holds what the user sees; this commits it as leaving it would, so
    // what is saved, exported or asked about is what the window shows.
    void CommitFieldBeingEdited();

    // Loads the icon image file at the path (or the library's symbol "symbol:SET/NAME") in the
    // background, or tells the user it could not be loaded; `done` then hears whether it was.
    void LoadIconImage(const QString& path, std::function<void(bool loaded)> done = {});
    // A copy of an image file's bytes, shown under its path; false (and the user told) when it
    // could not be read.
    bool LoadIconImage(const QByteArray& bytes, const QString& path);

    // Asked before the window closes: false keeps it open.
    bool windowShouldClose();

signals:
    // The user confirmed Quit; the application shell ends the application.
    void terminateRequested();

    // A render finished with no further one pending; its picture is shown and recorded.
    void previewFinished();

    // A Help menu command asks for one of the offline help pages; the help window shows it.
    void helpPageRequested(const QUrl& page);

    // A profile was opened or saved under this path.
    void profileOpened(const QString& path);

public slots:
    // Typed numbers and their steppers. (The design edits that need no conversion each render
    // and mark the title: the design values' table connects their controls to CommonEdit.)
    void OnIconVerticalOffsetTextFieldChanged() { FieldRule(m_iconVerticalOffset); }
    void OnIconHorizontalOffsetTextFieldChanged() { FieldRule(m_iconHorizontalOffset); }
    void OnIconScaleTextFieldChanged() { FieldRule(m_iconScale); }
    void OnTextVerticalOffsetTextFieldChanged() { FieldRule(m_textVerticalOffset); }
    void OnTextHorizontalOffsetTextFieldChanged() { FieldRule(m_textHorizontalOffset); }
    void OnFontSizeTextFieldChanged() { FieldRule(m_fontSize); }
    void OnIconVerticalOffsetChanged() { StepperRule(m_iconVerticalOffset); }
    void OnIconHorizontalOffsetChanged() { StepperRule(m_iconHorizontalOffset); }
    void OnIconScaleChanged() { StepperRule(m_iconScale); }
    void OnTextVerticalOffsetChanged() { StepperRule(m_textVerticalOffset); }
    void OnTextHorizontalOffsetChanged() { StepperRule(m_textHorizontalOffset); }
    void OnFontSizeChanged() { StepperRule(m_fontSize); }
    void OnCanvasWidthChanged();
    void OnCanvasHeightChanged();

    // Output settings: they need no preview, so each records a state at once.
    void OniOSIconSetSelected();
    void OnwatchOSIconSetSelected();
    void OnMacOSXIconSetSelected();
    void OnCustomSizeSelected();
    void OnPresetSizesChanged();
    void OnCustomSizeWidthChanged();
    void OnCustomSizeHeightChanged();
    void OnOutputFormatChanged();
    void OnTextFieldQualityChanged();
    void OnStepperQualityChanged();
    void OnNamePatternChanged();

    // Profiles.
    void OnFileNew() { m_profiles->New(); }
    void OnSaveProfile() { m_profiles->Save(); }
    void OnSaveProfileAs() { m_profiles->SaveAs(); }
    void OnLoadProfile() { m_profiles->Load(); }

    // The icon image.
    void OnSelectIconImage();
    void OnClearIconImage();
    void ImageViewDragPerformed(const QVariantMap& userInfo);
    void TextFieldDragPerformed(const QVariantMap& userInfo);

    // Export.
    void OnSaveIcons();
    // The design the window shows, once a field being edited is committed and its preview
    // is rendered, as every export starts from.
    IconDesign LatestDesign();
    // The design as the controls show it now, whether or not its picture is drawn yet.
    IconDesign ShownDesign() const;

    // Menu commands.
    void OnUndo();
    void OnRedo();
    void OnShowCanvasMargins();
    void OnAppQuit();
    void OnHowToCreateMacAppIcons();
    void OnHowToCreateAnIOSAppIcon();
    void OnHowToCreateALogo();

private:
    void ConnectControls();
    void FillPopUps();
    void WriteSettings(const DesignSettings& settings);
    void UpdateQualityControlsEnabled();

    void CommonEdit();
    void FieldRule(const NumberPair& pair);
    void StepperRule(const NumberPair& pair);
    void CanvasRule(QLineEdit* canvasField, QLineEdit* customField);
    void SelectIconSet(QRadioButton* chosen);
    void ValidateCustomSize(QLineEdit* field);
    void OutputEdit();

    void RenderFullSize(const IconDesign& design);
    // Starts the full-size picture a held drag owes, if it owes one.
    void RenderOwedPicture();
    void IconPreviewRendered(const QImage& rendering);
    void IconImageLoaded(const IconImageLoading::Result& result);
    void ShowInterimPreview(const QImage& picture, double scale);
    void BringPreviewUpToDate();
    void LoadDroppedIconImage(const QVariantMap& userInfo);
    void ShowIconImage(QImage image, std::shared_ptr<const SvgImage> vector, const QString& path);
    void SetTitle(const QString& title);

    Prompter& m_prompter;
    InfoProvider& m_infoProvider;
    RatingCheck m_ratingCheck;
    Renderer m_renderer;
    EditorControls m_controls;
    ControlBindings m_bindings;
    ValueDrags* m_valueDrags = nullptr;
    InterimPreview* m_interimPreview = nullptr;
    MenuActions m_menuActions{};
    NumberPair m_iconVerticalOffset;
    NumberPair m_iconHorizontalOffset;
    NumberPair m_iconScale;
    NumberPair m_textVerticalOffset;
    NumberPair m_textHorizontalOffset;
    NumberPair m_fontSize;

    QImage m_iconImage;
    std::shared_ptr<const SvgImage> m_iconVector; // when the icon image is an SVG document
    IconImageLoading* m_iconLoading = nullptr;
    // The user was told that the image could not be drawn at the size placed.
    bool m_toldDrawingRefused = false;
    QImage m_currentIcon;
    QImage m_interimIcon; // shown instead of m_currentIcon while it is newer; else null
    double m_interimScale = 1.0;
    ProfileCommands* m_profiles = nullptr;
    CrashRecovery* m_recovery = nullptr;
    QTimer m_timerPreview;
    bool m_updating = false;
    bool m_editingTogether = false;
    bool m_previewWanted = false; // asked for while editing together
    bool m_fullSizeHeld = false;
    bool m_interimDrawsLatest = false;
    bool m_fullSizeOwed = false; // a held full-size picture is to be drawn when let go
    // Documented names that say less than they mean: the controls changed while a render was
    // running (so another is due when it ends), and the canvas margins are shown.
    bool m_selectionChanged = false;
    bool m_showGridlines = false;
    StateHistory m_history;
};
