#include "app/inspector/EditorLayout.h"

#include "app/canvas/CustomImageView.h"
#include "app/canvas/ProgressIndicator.h"
#include "app/inspector/CollapsibleSection.h"
#include "app/inspector/ColorWell.h"
#include "app/inspector/CustomTextField.h"
#include "app/inspector/FloatSlider.h"
#include "app/inspector/HexColorField.h"
#include "app/inspector/LayerHeader.h"
#include "app/inspector/ScrubLabel.h"
#include "app/inspector/SingleLineValidator.h"
#include "app/inspector/SpinField.h"
#include "app/inspector/Stepper.h"
#include "app/inspector/WheelNeedsFocus.h"
#include "design/DesignValues.h"
#include "export/SizeSets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

namespace {

const FloatSlider::Range kCurvature{0.0f, 1.0f, 0.01f, 2, {}};
const FloatSlider::Range kOutline{0.0f, 200.0f, 1.0f, 0, {}};
const FloatSlider::Range kTextOutline{0.0f, 20.0f, 0.5f, 1, QStringLiteral(" %")};
const FloatSlider::Range kDistance{0.0f, 200.0f, 1.0f, 0, {}};
const FloatSlider::Range kAngle{0.0f, 360.0f, 1.0f, 0, QStringLiteral("°")};
const FloatSlider::Range kBlur{0.0f, 100.0f, 1.0f, 0, {}};

// Everything the editor creates gets its outlet's name and a tooltip.
template <typename Widget>
Widget* Named(Widget* widget, const QString& name, const QString& toolTip) {
    widget->setObjectName(name);
    widget->setToolTip(toolTip);
    return widget;
}

// A profile line may be of any length; the field keeps all of it.
void KeepAnyLength(QLineEdit* field) {
    field->setMaxLength(std::numeric_limits<int>::max());
}

QLineEdit* TextField(QWidget* parent, const QString& name, const QString& toolTip) {
    auto* field = Named(new QLineEdit(parent), name, toolTip);
    field->setValidator(new SingleLineValidator(field));
    KeepAnyLength(field);
    return field;
}

QLineEdit* NumberField(QWidget* parent, const QString& name, const QString& toolTip) {
    QLineEdit* field = TextField(parent, name, toolTip);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-10000")) + 14);
    return field;
}

// The stepper of a design value, over the range and by the increment its row gives; named
// "stepper" and the value's name.
Stepper* MakeStepper(QWidget* parent, const QString& value, const QString& toolTip) {
    const DesignValues::Row& row = *DesignValues::Find(value);
    return Named(new Stepper(row.minimum, row.maximum, row.step, parent),
                 QStringLiteral("stepper") + value.front().toUpper() + value.mid(1), toolTip);
}

// A number field with its stepper's arrows inside it, and its caption that drags the number.
ScrubLabel* JoinSpin(const QString& caption, QLineEdit* field, Stepper* stepper) {
    new SpinField(field, stepper);
    return new ScrubLabel(caption, field, stepper);
}

// A swatch with the hex field that types its colour beside it.
QWidget* Swatch(ColorWell* well) {
    auto* box = new QWidget(well->parentWidget());
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(well);
    auto* hex = new HexColorField(well, box);
    row->addWidget(hex);
    QWidget::setTabOrder(well, hex);
    return box;
}

FloatSlider* Slider(QWidget* parent, const QString& name, const QString& toolTip,
                    const FloatSlider::Range& range) {
    auto* slider = Named(new FloatSlider(range, parent), name, toolTip);
    slider->setMinimumWidth(130);
    return slider;
}

QLabel* Label(const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// A caption for a setting that belongs to the check box above it.
QLabel* SubLabel(const QString& text) {
    QLabel* label = Label(text);
    label->setContentsMargins(22, 0, 0, 0);
    return label;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    if (stretch)
        row->addStretch(1);
    return row;
}

QGridLayout* GroupGrid(QWidget* group) {
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    grid->setColumnStretch(2, 1);
    return grid;
}

struct ShadowControls {
    QCheckBox* check;
    ColorWell* color;
    FloatSlider* offset;
    FloatSlider* angle;
    FloatSlider* blur;
};

// A layer's heading with its check box, then its colour, each field captioned and indented
// under the heading.
void AddLayerHeading(QWidget* group, QGridLayout* grid, QCheckBox* check, ColorWell* color) {
    const int row = grid->rowCount();
    grid->addWidget(new LayerHeader(check, group), row, 0, 1, 3);
    grid->addWidget(SubLabel(QObject::tr("Colour")), row + 1, 0);
    grid->addLayout(Row({Swatch(color)}), row + 1, 1, 1, 2);
}

void AddSubRow(QGridLayout* grid, const QString& caption, QWidget* field) {
    const int row = grid->rowCount();
    grid->addWidget(SubLabel(caption), row, 0);
    grid->addWidget(field, row, 1, 1, 2);
}

// An outline: its heading, colour and width.
void AddOutline(QWidget* group, QGridLayout* grid, QCheckBox* check, ColorWell* color,
                FloatSlider* width) {
    AddLayerHeading(group, grid, check, color);
    AddSubRow(grid, QObject::tr("Width"), width);
}

// A shadow: its heading and colour, then distance, angle and blur.
ShadowControls AddShadow(QWidget* group, QGridLayout* grid, const QString& prefix,
                         const QString& what) {
    ShadowControls shadow{
        Named(new QCheckBox(QObject::tr("Shadow"), group), "check" + prefix + "Shadow",
              QObject::tr("Cast a shadow under the %1").arg(what)),
        Named(new ColorWell(group), "colorWell" + prefix + "ShadowColor",
              QObject::tr("Colour of the %1's shadow").arg(what)),
        Slider(group, "slider" + prefix + "ShadowOffset",
               QObject::tr("Distance of the shadow from the %1, in units").arg(what), kDistance),
        Slider(group, "slider" + prefix + "ShadowAngle",
               QObject::tr("Direction of the shadow: 0° right, 90° up, 270° down"), kAngle),
        Slider(group, "slider" + prefix + "ShadowBlur",
               QObject::tr("Blur radius of the shadow, in units"), kBlur),
    };
    AddLayerHeading(group, grid, shadow.check, shadow.color);
    AddSubRow(grid, QObject::tr("Distance"), shadow.offset);
    AddSubRow(grid, QObject::tr("Angle"), shadow.angle);
    AddSubRow(grid, QObject::tr("Blur"), shadow.blur);
    return shadow;
}

QWidget* BuildCanvas(EditorControls& c) {
    auto* group = new QWidget;
    c.textFieldCanvasWidth =
        NumberField(group, "textFieldCanvasWidth",
                    QObject::tr("Canvas width in units, 1 to 10000 (one unit is one pixel of "
                                "the full-size picture)"));
    c.textFieldCanvasHeight = NumberField(group, "textFieldCanvasHeight",
                                          QObject::tr("Canvas height in units, 1 to 10000"));
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(Label(QObject::tr("&Width"), c.textFieldCanvasWidth));
    row->addWidget(c.textFieldCanvasWidth);
    row->addSpacing(8);
    row->addWidget(Label(QObject::tr("Hei&ght"), c.textFieldCanvasHeight));
    row->addWidget(c.textFieldCanvasHeight);
    row->addWidget(Label(QObject::tr("units")));
    row->addStretch(1);
    return group;
}

QWidget* BuildBackground(EditorControls& c) {
    auto* group = new QWidget;
    QGridLayout* grid = GroupGrid(group);

    c.checkTransparentBackground =
        Named(new QCheckBox(QObject::tr("Transparent"), group), "checkTransparentBackground",
              QObject::tr("No background: no gradient, outline or background shadow"));
    c.colorWellGradientStartColor = Named(new ColorWell(group), "colorWellGradientStartColor",
                                          QObject::tr("Gradient colour at the top"));
    c.colorWellGradientEndColor = Named(new ColorWell(group), "colorWellGradientEndColor",
                                        QObject::tr("Gradient colour at the bottom"));
    c.sliderCornerCurvature =
        Slider(group, "sliderCornerCurvature",
               QObject::tr("Corner rounding: 0 square, 1 fully round"), kCurvature);
    c.checkBackgroundStroke =
        Named(new QCheckBox(QObject::tr("Outline"), group), "checkBackgroundStroke",
              QObject::tr("Draw an outline around the background"));
    c.colorWellBackgroundStrokeColor = Named(new ColorWell(group), "colorWellBackgroundStrokeColor",
                                             QObject::tr("Colour of the background's outline"));
    c.sliderBackgroundStrokeSize =
        Slider(group, "sliderBackgroundStrokeSize",
               QObject::tr("Width of the background's outline, in units"), kOutline);

    // The transparent switch goes into the section's header (see SettingsPanel).
    grid->addWidget(Label(QObject::tr("Gradient")), 0, 0);
    grid->addLayout(
        Row({Swatch(c.colorWellGradientStartColor), Swatch(c.colorWellGradientEndColor)}), 0, 1, 1,
        2);
    grid->addWidget(Label(QObject::tr("Corners")), 1, 0);
    grid->addWidget(c.sliderCornerCurvature, 1, 1, 1, 2);
    AddOutline(group, grid, c.checkBackgroundStroke, c.colorWellBackgroundStrokeColor,
               c.sliderBackgroundStrokeSize);

    const ShadowControls shadow = AddShadow(group, grid, "Background", QObject::tr("background"));
    c.checkBackgroundShadow = shadow.check;
    c.colorWellBackgroundShadowColor = shadow.color;
    c.sliderBackgroundShadowOffset = shadow.offset;
    c.sliderBackgroundShadowAngle = shadow.angle;
    c.sliderBackgroundShadowBlur = shadow.blur;
    return group;
}

// An offset pair: horizontal (X) and vertical (Y) fields, each with its stepper.
QHBoxLayout* OffsetRow(QWidget* group, QLineEdit*& horizontalField, Stepper*& horizontalStepper,
                       QLineEdit*& verticalField, Stepper*& verticalStepper, const QString& prefix,
                       const QString& what) {
    const QString horizontalTip =
        QObject::tr("Horizontal offset of the %1 in units; positive moves right").arg(what);
    const QString verticalTip =
        QObject::tr("Vertical offset of the %1 in units; positive moves up").arg(what);
    horizontalField = NumberField(group, "textField" + prefix + "HorizontalOffset", horizontalTip);
    horizontalStepper = MakeStepper(group, prefix.toLower() + "HorizontalOffset", horizontalTip);
    verticalField = NumberField(group, "textField" + prefix + "VerticalOffset", verticalTip);
    verticalStepper = MakeStepper(group, prefix.toLower() + "VerticalOffset", verticalTip);
    QHBoxLayout* row =
        Row({JoinSpin(QObject::tr("X"), horizontalField, horizontalStepper), horizontalField},
            /*stretch=*/false);
    row->addSpacing(8);
    row->addWidget(JoinSpin(QObject::tr("Y"), verticalField, verticalStepper));
    row->addWidget(verticalField);
    row->addStretch(1);
    return row;
}

QWidget* BuildIcon(EditorControls& c, Prompter& prompter) {
    auto* group = new QWidget;
    QGridLayout* grid = GroupGrid(group);

    c.textFieldIconImage =
        Named(new CustomTextField(prompter, group), "textFieldIconImage",
              QObject::tr("The icon image; drop an image file here or on the preview"));
    c.textFieldIconImage->setReadOnly(true);
    KeepAnyLength(c.textFieldIconImage);
    c.textFieldIconImage->setPlaceholderText(QObject::tr("No image"));
    c.buttonSelectIconImage = Named(new QPushButton(QObject::tr("&Choose…"), group),
                                    "buttonSelectIconImage", QObject::tr("Choose an image file"));
    c.buttonChooseSymbol =
        Named(new QPushButton(QObject::tr("S&ymbol…"), group), "buttonChooseSymbol",
              QObject::tr("Choose a symbol or an emoji of the built-in library"));
    auto* clear =
        Named(new QToolButton(group), "buttonClearIconImage", QObject::tr("Remove the icon image"));
    clear->setIcon(group->style()->standardIcon(QStyle::SP_LineEditClearButton));
    clear->setAutoRaise(true);
    c.buttonClearIconImage = clear;
    auto* imageRow = new QHBoxLayout;
    imageRow->setSpacing(4);
    imageRow->addWidget(c.textFieldIconImage, 1);
    imageRow->addWidget(c.buttonSelectIconImage);
    imageRow->addWidget(c.buttonChooseSymbol);
    imageRow->addWidget(c.buttonClearIconImage);
    // Created in the order of the rows, which is the order Tab moves through them.
    QHBoxLayout* offsetRow = OffsetRow(group, c.textFieldIconHorizontalOffset,
                                       c.stepperIconHorizontalOffset, c.textFieldIconVerticalOffset,
                                       c.stepperIconVerticalOffset, "Icon", QObject::tr("icon"));

    c.textFieldIconScale = NumberField(group, "textFieldIconScale",
                                       QObject::tr("Size in percent of the image's own size, "
                                                   "1 to 999"));
    c.stepperIconScale = MakeStepper(group, "iconScale", c.textFieldIconScale->toolTip());
    c.sliderIconRotation = Slider(group, "sliderIconRotation",
                                  QObject::tr("Rotation in degrees, counter-clockwise"), kAngle);
    c.checkUseImageColors =
        Named(new QCheckBox(QObject::tr("Image's own"), group), "checkUseImageColors",
              QObject::tr("Keep the image's own colours; when off, paint it in the tint colour"));
    c.colorWellIconColor = Named(new ColorWell(group), "colorWellIconColor",
                                 QObject::tr("Tint colour, used when the image colours are off"));

    grid->addWidget(Label(QObject::tr("Image")), 0, 0);
    grid->addLayout(imageRow, 0, 1, 1, 2);
    grid->addWidget(Label(QObject::tr("Offset")), 1, 0);
    grid->addLayout(offsetRow, 1, 1, 1, 2);
    grid->addWidget(JoinSpin(QObject::tr("Sc&ale"), c.textFieldIconScale, c.stepperIconScale), 2,
                    0);
    grid->addLayout(Row({c.textFieldIconScale, Label(QObject::tr("%"))}), 2, 1, 1, 2);
    grid->addWidget(Label(QObject::tr("Rotation")), 3, 0);
    grid->addWidget(c.sliderIconRotation, 3, 1, 1, 2);
    grid->addWidget(Label(QObject::tr("Colours")), 4, 0);
    QHBoxLayout* colors = Row({c.checkUseImageColors}, false);
    colors->addSpacing(12);
    colors->addWidget(Label(QObject::tr("Tint")));
    colors->addWidget(Swatch(c.colorWellIconColor));
    colors->addStretch(1);
    grid->addLayout(colors, 4, 1, 1, 2);

    const ShadowControls shadow = AddShadow(group, grid, "Icon", QObject::tr("icon"));
    c.checkIconShadow = shadow.check;
    c.colorWellIconShadowColor = shadow.color;
    c.sliderIconShadowOffset = shadow.offset;
    c.sliderIconShadowAngle = shadow.angle;
    c.sliderIconShadowBlur = shadow.blur;
    return group;
}

QWidget* BuildText(EditorControls& c) {
    auto* group = new QWidget;
    QGridLayout* grid = GroupGrid(group);

    c.textFieldText = TextField(group, "textFieldText", QObject::tr("The text line; may be empty"));
    c.textFieldText->setPlaceholderText(QObject::tr("No text"));
    c.comboFontType =
        Named(new QComboBox(group), "comboFontType",
              QObject::tr("Font family (a free look-alike is used when it is not installed)"));
    c.textFieldFontSize =
        NumberField(group, "textFieldFontSize", QObject::tr("Font size in points, 1 to 10000"));
    c.stepperFontSize = MakeStepper(group, "fontSize", c.textFieldFontSize->toolTip());
    c.colorWellTextColor =
        Named(new ColorWell(group), "colorWellTextColor", QObject::tr("Colour of the text"));
    // Created in the order of the rows, which is the order Tab moves through them.
    QHBoxLayout* offsetRow = OffsetRow(group, c.textFieldTextHorizontalOffset,
                                       c.stepperTextHorizontalOffset, c.textFieldTextVerticalOffset,
                                       c.stepperTextVerticalOffset, "Text", QObject::tr("text"));
    c.checkTextStroke = Named(new QCheckBox(QObject::tr("Outline"), group), "checkTextStroke",
                              QObject::tr("Draw an outline around the letters"));
    c.colorWellTextStrokeColor = Named(new ColorWell(group), "colorWellTextStrokeColor",
                                       QObject::tr("Colour of the letters' outline"));
    c.sliderTextStrokeSize = Slider(
        group, "sliderTextStrokeSize",
        QObject::tr("Width of the letters' outline, in percent of the font size"), kTextOutline);

    grid->addWidget(Label(QObject::tr("&Text"), c.textFieldText), 0, 0);
    grid->addWidget(c.textFieldText, 0, 1, 1, 2);
    grid->addWidget(Label(QObject::tr("F&ont"), c.comboFontType), 1, 0);
    grid->addWidget(c.comboFontType, 1, 1, 1, 2);
    grid->addWidget(JoinSpin(QObject::tr("Si&ze"), c.textFieldFontSize, c.stepperFontSize), 2, 0);
    QHBoxLayout* sizeRow = Row({c.textFieldFontSize, Label(QObject::tr("pt"))}, false);
    sizeRow->addSpacing(12);
    sizeRow->addWidget(Label(QObject::tr("Colour")));
    sizeRow->addWidget(Swatch(c.colorWellTextColor));
    sizeRow->addStretch(1);
    grid->addLayout(sizeRow, 2, 1, 1, 2);
    grid->addWidget(Label(QObject::tr("Offset")), 3, 0);
    grid->addLayout(offsetRow, 3, 1, 1, 2);
    AddOutline(group, grid, c.checkTextStroke, c.colorWellTextStrokeColor, c.sliderTextStrokeSize);

    const ShadowControls shadow = AddShadow(group, grid, "Text", QObject::tr("text"));
    c.checkTextShadow = shadow.check;
    c.colorWellTextShadowColor = shadow.color;
    c.sliderTextShadowOffset = shadow.offset;
    c.sliderTextShadowAngle = shadow.angle;
    c.sliderTextShadowBlur = shadow.blur;
    return group;
}

// One icon set: its radio button above its size check boxes, `columns` to a row.
template <std::size_t N>
QVBoxLayout* SizeSet(QWidget* group, QRadioButton* radio, const std::array<int, N>& sizes,
                     std::array<QCheckBox*, N>& checks, const QString& suffix, int columns) {
    auto* set = new QVBoxLayout;
    set->setSpacing(2);
    set->addWidget(radio);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(20, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    for (std::size_t i = 0; i < N; ++i) {
        const int size = sizes[i];
        checks[i] = Named(new QCheckBox(QString::number(size), group),
                          QStringLiteral("check%1%2").arg(size).arg(suffix),
                          QObject::tr("Export the %1 × %1 pixel file").arg(size));
        grid->addWidget(checks[i], int(i) / columns, int(i) % columns);
    }
    grid->setColumnStretch(columns, 1);
    set->addLayout(grid);
    return set;
}

QWidget* BuildOutput(EditorControls& c) {
    auto* group = new QWidget;
    auto* rows = new QVBoxLayout(group);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);

    c.radioiOSIconSet = Named(new QRadioButton(QObject::tr("iOS"), group), "radioiOSIconSet",
                              QObject::tr("Export the checked sizes of the iOS set"));
    c.radiowatchOSIconSet =
        Named(new QRadioButton(QObject::tr("watchOS"), group), "radiowatchOSIconSet",
              QObject::tr("Export the checked sizes of the watchOS set"));
    c.radioMacOSXIconSet =
        Named(new QRadioButton(QObject::tr("macOS"), group), "radioMacOSXIconSet",
              QObject::tr("Export the checked sizes of the macOS set"));
    c.radioCustomSize = Named(new QRadioButton(QObject::tr("Custom"), group), "radioCustomSize",
                              QObject::tr("Export one file of the custom width and height"));
    for (QRadioButton* radio :
         {c.radioiOSIconSet, c.radiowatchOSIconSet, c.radioMacOSXIconSet, c.radioCustomSize})
        radio->setAutoExclusive(false); // the size-set actions turn the others off themselves

    constexpr int kColumns = 5;
    rows->addLayout(SizeSet(group, c.radioiOSIconSet, SizeSets::IosSizes, c.iosSizeChecks,
                            QStringLiteral("ios"), kColumns));
    rows->addLayout(SizeSet(group, c.radiowatchOSIconSet, SizeSets::WatchSizes, c.watchSizeChecks,
                            QStringLiteral("watchos"), kColumns));
    rows->addLayout(SizeSet(group, c.radioMacOSXIconSet, SizeSets::MacSizes, c.macSizeChecks,
                            QStringLiteral("mac"), kColumns));

    c.textFieldCustomWidth = NumberField(group, "textFieldCustomWidth",
                                         QObject::tr("Width of the custom size in pixels"));
    c.textFieldCustomHeight = NumberField(group, "textFieldCustomHeight",
                                          QObject::tr("Height of the custom size in pixels"));
    QHBoxLayout* custom = Row({c.radioCustomSize}, false);
    custom->addSpacing(8);
    custom->addWidget(Label(QObject::tr("W")));
    custom->addWidget(c.textFieldCustomWidth);
    custom->addSpacing(8);
    custom->addWidget(Label(QObject::tr("H")));
    custom->addWidget(c.textFieldCustomHeight);
    custom->addStretch(1);
    rows->addLayout(custom);

    auto* separator = new QFrame(group);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    rows->addWidget(separator);

    c.comboIconFormat =
        Named(new QComboBox(group), "comboIconFormat", QObject::tr("File format of the icons"));
    c.textFieldQuality = NumberField(group, "textFieldQuality",
                                     QObject::tr("Quality of JPEG and JPEG 2000 files, 1 to 100"));
    c.stepperQuality = MakeStepper(group, "quality", c.textFieldQuality->toolTip());
    c.textFieldName = TextField(group, "textFieldName",
                                QObject::tr("File name pattern; [Size] stands for the pixel size"));
    c.buttonSaveIcons =
        Named(new QPushButton(QObject::tr("E&xport Icons…"), group), "buttonSaveIcons",
              QObject::tr("Write the chosen sizes into a folder"));
    c.buttonSaveIcons->setDefault(true);

    auto* files = new QGridLayout;
    files->setHorizontalSpacing(8);
    files->setVerticalSpacing(5);
    files->addWidget(Label(QObject::tr("Fo&rmat"), c.comboIconFormat), 0, 0);
    files->addWidget(c.comboIconFormat, 0, 1, Qt::AlignLeft);
    files->addWidget(JoinSpin(QObject::tr("&Quality"), c.textFieldQuality, c.stepperQuality), 1, 0);
    files->addLayout(Row({c.textFieldQuality, Label(QObject::tr("%"))}), 1, 1);
    files->addWidget(Label(QObject::tr("File &name"), c.textFieldName), 2, 0);
    files->addWidget(c.textFieldName, 2, 1);
    files->addWidget(c.buttonSaveIcons, 3, 0, 1, 2, Qt::AlignRight);
    files->setColumnStretch(1, 1);
    rows->addLayout(files);
    return group;
}

// The control groups one below the other in reading order, in a panel that scrolls when the
// window is too low for them. The panel is as wide as its widest group needs.
QScrollArea* SettingsPanel(QWidget* view, EditorControls& c, Prompter& prompter) {
    auto* contents = new QWidget;
    auto* column = new QVBoxLayout(contents);
    column->setContentsMargins(0, 0, 6, 0);
    column->setSpacing(10);
    // Output starts closed: the design sections matter first.
    column->addWidget(new CollapsibleSection(QObject::tr("Canvas"), BuildCanvas(c), true));
    auto* background = new CollapsibleSection(QObject::tr("Background"), BuildBackground(c), true);
    background->addHeaderWidget(c.checkTransparentBackground);
    column->addWidget(background);
    column->addWidget(new CollapsibleSection(QObject::tr("Icon"), BuildIcon(c, prompter), true));
    column->addWidget(new CollapsibleSection(QObject::tr("Text"), BuildText(c), true));
    column->addWidget(new CollapsibleSection(QObject::tr("Output"), BuildOutput(c), false));
    column->addStretch(1);

    auto* panel = new QScrollArea(view);
    panel->setObjectName(QStringLiteral("scrollAreaSettings"));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setWidgetResizable(true);
    panel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panel->setWidget(contents);
    auto* wheel = new WheelNeedsFocus(panel);
    for (QWidget* control : contents->findChildren<QWidget*>()) {
        // A number field steps on the wheel through the arrows inside it.
        const bool numberField =
            qobject_cast<QLineEdit*>(control) && control->findChild<Stepper*>();
        if (numberField || qobject_cast<Stepper*>(control) || qobject_cast<QComboBox*>(control) ||
            qobject_cast<QSlider*>(control))
            wheel->Watch(control);
    }
    const int scrollBar = panel->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, panel);
    // As wide as the widest section needs, closed ones included, so opening one moves nothing.
    int width = contents->minimumSizeHint().width();
    for (const CollapsibleSection* section : contents->findChildren<CollapsibleSection*>())
        width = std::max(width, section->bodyWidth());
    panel->setFixedWidth(width + scrollBar);
    return panel;
}

} // namespace

namespace EditorLayout {

EditorControls Build(QWidget* view, Prompter& prompter) {
    EditorControls c;

    c.imageViewIcon = Named(new CustomImageView(prompter, view), "imageViewIcon",
                            QObject::tr("Preview; drop an image file here to use it as the icon"));
    c.progressIndicator = Named(new ProgressIndicator(view), "progressIndicator",
                                QObject::tr("Rendering the preview"));
    auto* canvasPage = new QWidget;
    auto* preview = new QGridLayout(canvasPage);
    preview->setContentsMargins(0, 4, 0, 0);
    preview->addWidget(c.imageViewIcon, 0, 0);
    preview->addWidget(c.progressIndicator, 0, 0, Qt::AlignTop | Qt::AlignRight);
    // Other views of the design open as further tabs beside the canvas.
    c.tabWidgetCanvas = Named(new QTabWidget(view), "tabWidgetCanvas", QString());
    c.tabWidgetCanvas->setDocumentMode(true);
    c.tabWidgetCanvas->addTab(canvasPage, QObject::tr("Canvas"));

    // The preview takes whatever room the settings leave.
    auto* layout = new QHBoxLayout(view);
    layout->setContentsMargins(10, 6, 6, 10);
    layout->setSpacing(12);
    layout->addWidget(c.tabWidgetCanvas, 1);
    layout->addWidget(SettingsPanel(view, c, prompter));
    return c;
}

} // namespace EditorLayout
