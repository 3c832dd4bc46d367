#include "app/inspector/ControlBindings.h"

#include "app/inspector/ColorWell.h"
#include "app/inspector/EditorControls.h"
#include "app/inspector/FloatSlider.h"
#include "app/inspector/Stepper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

// Check boxes hold 1 (on), 0 (off) or -1 (mixed); a mixed state is possible only when a
// profile sets it.
int StateOf(const QCheckBox* check) {
    switch (check->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return -1;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void SetState(QCheckBox* check, int state) {
    const QSignalBlocker blocker(check);
    check->setTristate(state < 0);
    check->setCheckState(state < 0 ? Qt::PartiallyChecked
                                   : (state > 0 ? Qt::Checked : Qt::Unchecked));
}

} // namespace

ControlBindings::ControlBindings(const EditorControls& c) {
    // Background
    Bind(c.checkTransparentBackground, &DesignSettings::transparentBackground);
    Bind(c.colorWellGradientStartColor, &DesignSettings::gradientStartColor);
    Bind(c.colorWellGradientEndColor, &DesignSettings::gradientEndColor);
    Bind(c.sliderCornerCurvature, &DesignSettings::cornerCurvature);
    Bind(c.checkBackgroundStroke, &DesignSettings::backgroundStroke);
    Bind(c.colorWellBackgroundStrokeColor, &DesignSettings::backgroundStrokeColor);
    Bind(c.sliderBackgroundStrokeSize, &DesignSettings::backgroundStrokeSize);
    Bind(c.checkBackgroundShadow, &DesignSettings::backgroundShadow);
    Bind(c.colorWellBackgroundShadowColor, &DesignSettings::backgroundShadowColor);
    Bind(c.sliderBackgroundShadowOffset, &DesignSettings::backgroundShadowOffset);
    Bind(c.sliderBackgroundShadowAngle, &DesignSettings::backgroundShadowAngle);
    Bind(c.sliderBackgroundShadowBlur, &DesignSettings::backgroundShadowBlur);

    // Icon image
    Bind(c.stepperIconVerticalOffset, &DesignSettings::iconVerticalOffset);
    Bind(c.textFieldIconVerticalOffset, &DesignSettings::iconVerticalOffsetText);
    Bind(c.stepperIconHorizontalOffset, &DesignSettings::iconHorizontalOffset);
    Bind(c.textFieldIconHorizontalOffset, &DesignSettings::iconHorizontalOffsetText);
    Bind(c.checkUseImageColors, &DesignSettings::useImageColors);
    Bind(c.colorWellIconColor, &DesignSettings::iconColor);
    Bind(c.stepperIconScale, &DesignSettings::iconScale);
    Bind(c.textFieldIconScale, &DesignSettings::iconScaleText);
    Bind(c.sliderIconRotation, &DesignSettings::iconRotation);
    Bind(c.checkIconShadow, &DesignSettings::iconShadow);
    Bind(c.colorWellIconShadowColor, &DesignSettings::iconShadowColor);
    Bind(c.sliderIconShadowOffset, &DesignSettings::iconShadowOffset);
    Bind(c.sliderIconShadowAngle, &DesignSettings::iconShadowAngle);
    Bind(c.sliderIconShadowBlur, &DesignSettings::iconShadowBlur);

    // Text
    Bind(c.textFieldText, &DesignSettings::text);
    Bind(c.stepperTextVerticalOffset, &DesignSettings::textVerticalOffset);
    Bind(c.textFieldTextVerticalOffset, &DesignSettings::textVerticalOffsetText);
    Bind(c.stepperTextHorizontalOffset, &DesignSettings::textHorizontalOffset);
    Bind(c.textFieldTextHorizontalOffset, &DesignSettings::textHorizontalOffsetText);
    Bind(c.colorWellTextColor, &DesignSettings::textColor);
    Bind(c.comboFontType, &DesignSettings::fontIndex);
    Bind(c.stepperFontSize, &DesignSettings::fontSize);
    Bind(c.textFieldFontSize, &DesignSettings::fontSizeText);
    Bind(c.checkTextStroke, &DesignSettings::textStroke);
    Bind(c.colorWellTextStrokeColor, &DesignSettings::textStrokeColor);
    Bind(c.sliderTextStrokeSize, &DesignSettings::textStrokeSize);
    Bind(c.checkTextShadow, &DesignSettings::textShadow);
    Bind(c.colorWellTextShadowColor, &DesignSettings::textShadowColor);
    Bind(c.sliderTextShadowOffset, &DesignSettings::textShadowOffset);
    Bind(c.sliderTextShadowAngle, &DesignSettings::textShadowAngle);
    Bind(c.sliderTextShadowBlur, &DesignSettings::textShadowBlur);

    // Canvas
    Bind(c.textFieldCanvasWidth, &DesignSettings::canvasWidthText);
    Bind(c.textFieldCanvasHeight, &DesignSettings::canvasHeightText);

    // Output
    Bind(c.radioiOSIconSet, &DesignSettings::iosIconSet);
    Bind(c.iosSizeChecks, &DesignSettings::iosSizes);
    Bind(c.radiowatchOSIconSet, &DesignSettings::watchIconSet);
    Bind(c.watchSizeChecks, &DesignSettings::watchSizes);
    Bind(c.radioMacOSXIconSet, &DesignSettings::macIconSet);
    Bind(c.macSizeChecks, &DesignSettings::macSizes);
    Bind(c.radioCustomSize, &DesignSettings::customSize);
    Bind(c.textFieldCustomWidth, &DesignSettings::customWidthText);
    Bind(c.textFieldCustomHeight, &DesignSettings::customHeightText);
    Bind(c.comboIconFormat, &DesignSettings::iconFormat);
    Bind(c.textFieldQuality, &DesignSettings::qualityText);
    Bind(c.stepperQuality, &DesignSettings::quality);
    Bind(c.textFieldName, &DesignSettings::namePattern);
}

DesignSettings ControlBindings::Read() const {
    DesignSettings settings;
    for (const Binding& binding : m_bindings)
        binding.read(settings);
    return settings;
}

void ControlBindings::Write(const DesignSettings& settings) const {
    for (const Binding& binding : m_bindings)
        binding.write(settings);
}

void ControlBindings::Bind(QCheckBox* check, Member<int> field) {
    m_bindings.push_back({[=](DesignSettings& s) { s.*field = StateOf(check); },
                          [=](const DesignSettings& s) { SetState(check, s.*field); }});
}

template <std::size_t N>
void ControlBindings::Bind(const std::array<QCheckBox*, N>& checks,
                           Member<std::array<int, N>> field) {
    for (std::size_t i = 0; i < N; ++i) {
        QCheckBox* check = checks[i];
        m_bindings.push_back({[=](DesignSettings& s) { (s.*field)[i] = StateOf(check); },
                              [=](const DesignSettings& s) { SetState(check, (s.*field)[i]); }});
    }
}

void ControlBindings::Bind(QRadioButton* radio, Member<int> field) {
    // A radio button is on or off; any state other than off turns it on.
    m_bindings.push_back({[=](DesignSettings& s) { s.*field = radio->isChecked() ? 1 : 0; },
                          [=](const DesignSettings& s) {
                              const QSignalBlocker blocker(radio);
                              radio->setChecked(s.*field != 0);
                          }});
}

void ControlBindings::Bind(ColorWell* well, Member<Rgba> field) {
    m_bindings.push_back({[=](DesignSettings& s) { s.*field = well->color(); },
                          [=](const DesignSettings& s) { well->setColor(s.*field); }});
}

void ControlBindings::Bind(FloatSlider* slider, Member<float> field) {
    m_bindings.push_back({[=](DesignSettings& s) { s.*field = slider->floatValue(); },
                          [=](const DesignSettings& s) { slider->setFloatValue(s.*field); }});
}

void ControlBindings::Bind(Stepper* stepper, Member<float> field) {
    m_bindings.push_back({[=](DesignSettings& s) { s.*field = float(stepper->value()); },
                          [=](const DesignSettings& s) { stepper->setValue(s.*field); }});
}

void ControlBindings::Bind(QLineEdit* textField, Member<QString> field) {
    m_bindings.push_back({[=](DesignSettings& s) { s.*field = textField->text(); },
                          [=](const DesignSettings& s) {
                              const QSignalBlocker blocker(textField);
                              textField->setText(s.*field);
                          }});
}

void ControlBindings::Bind(QComboBox* popUp, Member<int> field) {
    m_bindings.push_back({[=](DesignSettings& s) { s.*field = popUp->currentIndex(); },
                          [=](const DesignSettings& s) {
                              const QSignalBlocker blocker(popUp);
                              popUp->setCurrentIndex(s.*field);
                          }});
}
