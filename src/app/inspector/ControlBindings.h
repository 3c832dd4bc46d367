#pragma once

#include "design/DesignSettings.h"

#include <functional>
#include <vector>

struct EditorControls;
class ColorWell;
class FloatSlider;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class Stepper;

// The one mapping between the window's controls and the settings record: which control holds
// which value. Reading gives the design as the controls show it; writing sets every control
// without running any of their actions.
class ControlBindings {
public:
    explicit ControlBindings(const EditorControls& controls);

    DesignSettings Read() const;
    void Write(const DesignSettings& settings) const;

private:
    template <typename T> using Member = T DesignSettings::*;

    void Bind(QRadioButton* radio, Member<int> field);
    void Bind(ColorWell* well, Member<Rgba> field);
    void Bind(FloatSlider* slider, Member<float> field);
    void Bind(Stepper* stepper, Member<float> field);
    void Bind(QLineEdit* textField, Member<QString> field);
    void Bind(QComboBox* popUp, Member<int> field);
    void Bind(QCheckBox* check, Member<int> field);
    template <std::size_t N>
    void Bind(const std::array<QCheckBox*, N>& checks, Member<std::array<int, N>> field);

    struct Binding {
        std::function<void(DesignSettings&)> read;
        std::function<void(const DesignSettings&)> write;
    };
    std::vector<Binding> m_bindings;
};
