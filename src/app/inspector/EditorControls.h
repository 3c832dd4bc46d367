#pragma once

#include <array>

class ColorWell;
class CustomImageView;
class CustomTextField;
class FloatSlider;
class ProgressIndicator;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class Stepper;

// The controls of the editor window. Each widget's object name is its member's name (the size
// check boxes are named after their size, e.g. "check20ios"), so tests and accessibility tools
// find them. The window owns the widgets; this only points at them.
struct EditorControls {
    // Canvas
    QLineEdit* textFieldCanvasWidth = nullptr;
    QLineEdit* textFieldCanvasHeight = nullptr;

    // Background
    QCheckBox* checkTransparentBackground = nullptr;
    ColorWell* colorWellGradientStartColor = nullptr;
    ColorWell* colorWellGradientEndColor = nullptr;
    FloatSlider* sliderCornerCurvature = nullptr;
    QCheckBox* checkBackgroundStroke = nullptr;
    ColorWell* colorWellBackgroundStrokeColor = nullptr;
    FloatSlider* sliderBackgroundStrokeSize = nullptr;
    QCheckBox* checkBackgroundShadow = nullptr;
    ColorWell* colorWellBackgroundShadowColor = nullptr;
    FloatSlider* sliderBackgroundShadowOffset = nullptr;
    FloatSlider* sliderBackgroundShadowAngle = nullptr;
    FloatSlider* sliderBackgroundShadowBlur = nullptr;

    // Icon image
    CustomTextField* textFieldIconImage = nullptr;
    QAbstractButton* buttonSelectIconImage = nullptr;
    QAbstractButton* buttonChooseSymbol = nullptr;
    QAbstractButton* buttonClearIconImage = nullptr;
    QLineEdit* textFieldIconVerticalOffset = nullptr;
    Stepper* stepperIconVerticalOffset = nullptr;
    QLineEdit* textFieldIconHorizontalOffset = nullptr;
    Stepper* stepperIconHorizontalOffset = nullptr;
    QLineEdit* textFieldIconScale = nullptr;
    Stepper* stepperIconScale = nullptr;
    FloatSlider* sliderIconRotation = nullptr;
    QCheckBox* checkUseImageColors = nullptr;
    ColorWell* colorWellIconColor = nullptr;
    QCheckBox* checkIconShadow = nullptr;
    ColorWell* colorWellIconShadowColor = nullptr;
    FloatSlider* sliderIconShadowOffset = nullptr;
    FloatSlider* sliderIconShadowAngle = nullptr;
    FloatSlider* sliderIconShadowBlur = nullptr;

    // Text
    QLineEdit* textFieldText = nullptr;
    QComboBox* comboFontType = nullptr;
    QLineEdit* textFieldFontSize = nullptr;
    Stepper* stepperFontSize = nullptr;
    ColorWell* colorWellTextColor = nullptr;
    QLineEdit* textFieldTextVerticalOffset = nullptr;
    Stepper* stepperTextVerticalOffset = nullptr;
    QLineEdit* textFieldTextHorizontalOffset = nullptr;
    Stepper* stepperTextHorizontalOffset = nullptr;
    QCheckBox* checkTextStroke = nullptr;
    ColorWell* colorWellTextStrokeColor = nullptr;
    FloatSlider* sliderTextStrokeSize = nullptr;
    QCheckBox* checkTextShadow = nullptr;
    ColorWell* colorWellTextShadowColor = nullptr;
    FloatSlider* sliderTextShadowOffset = nullptr;
    FloatSlider* sliderTextShadowAngle = nullptr;
    FloatSlider* sliderTextShadowBlur = nullptr;

    // Output: size sets, the size check boxes in the order of their set's size table.
    QRadioButton* radioiOSIconSet = nullptr;
    QRadioButton* radiowatchOSIconSet = nullptr;
    QRadioButton* radioMacOSXIconSet = nullptr;
    QRadioButton* radioCustomSize = nullptr;
    std::array<QCheckBox*, 14> iosSizeChecks{};
    std::array<QCheckBox*, 10> watchSizeChecks{};
    std::array<QCheckBox*, 7> macSizeChecks{};
    QLineEdit* textFieldCustomWidth = nullptr;
    QLineEdit* textFieldCustomHeight = nullptr;

    // Output: format, quality, file names.
    QComboBox* comboIconFormat = nullptr;
    QLineEdit* textFieldQuality = nullptr;
    Stepper* stepperQuality = nullptr;
    QLineEdit* textFieldName = nullptr;
    QPushButton* buttonSaveIcons = nullptr;

    // Preview: the canvas is the first tab of the tab widget.
    QTabWidget* tabWidgetCanvas = nullptr;
    CustomImageView* imageViewIcon = nullptr;
    ProgressIndicator* progressIndicator = nullptr;
};
