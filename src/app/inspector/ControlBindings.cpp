#include "app/inspector/ControlBindings.h"

#include "app/inspector/ColorWell.h"
#include "app/inspector/FloatSlider.h"
#include "app/inspector/Stepper.h"
#include "design/DesignValues.h"

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

// The row's value in a record, as its kind holds it. The table addresses values in a record it
// may change; reading one of a record that stays as it is changes nothing.
template <typename T> auto ValueOf(const DesignValues::Row& row) {
    return [in = row.in](const DesignSettings& settings) -> T& {
        return *std::get<T*>(in(const_cast<DesignSettings&>(settings)));
    };
}

} // namespace

ControlBindings::ControlBindings(const QWidget& root) {
    using DesignValues::Kind;
    for (const DesignValues::Row& row : DesignValues::Table()) {
        QWidget* control = root.findChild<QWidget*>(QLatin1String(row.control));
        Binding binding;
        if (auto* check = qobject_cast<QCheckBox*>(control)) {
            const auto value = ValueOf<int>(row);
            binding = {[=](DesignSettings& s) { value(s) = StateOf(check); },
                       [=](const DesignSettings& s) { SetState(check, value(s)); }};
        } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            // A radio button is on or off; any state other than off turns it on.
            const auto value = ValueOf<int>(row);
            binding = {[=](DesignSettings& s) { value(s) = radio->isChecked() ? 1 : 0; },
                       [=](const DesignSettings& s) {
                           const QSignalBlocker blocker(radio);
                           radio->setChecked(value(s) != 0);
                       }};
        } else if (auto* well = qobject_cast<ColorWell*>(control)) {
            const auto value = ValueOf<Rgba>(row);
            binding = {[=](DesignSettings& s) { value(s) = well->color(); },
                       [=](const DesignSettings& s) { well->setColor(value(s)); }};
        } else if (auto* slider = qobject_cast<FloatSlider*>(control)) {
            const auto value = ValueOf<float>(row);
            binding = {[=](DesignSettings& s) { value(s) = slider->floatValue(); },
                       [=](const DesignSettings& s) { slider->setFloatValue(value(s)); }};
        } else if (auto* stepper = qobject_cast<Stepper*>(control)) {
            const auto value = ValueOf<float>(row);
            binding = {[=](DesignSettings& s) { value(s) = float(stepper->value()); },
                       [=](const DesignSettings& s) { stepper->setValue(value(s)); }};
        } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
            const auto value = ValueOf<QString>(row);
            binding = {[=](DesignSettings& s) { value(s) = field->text(); },
                       [=](const DesignSettings& s) {
                           const QSignalBlocker blocker(field);
                           field->setText(value(s));
                       }};
        } else if (auto* popUp = qobject_cast<QComboBox*>(control)) {
            const auto value = ValueOf<int>(row);
            binding = {[=](DesignSettings& s) { value(s) = popUp->currentIndex(); },
                       [=](const DesignSettings& s) {
                           const QSignalBlocker blocker(popUp);
                           popUp->setCurrentIndex(value(s));
                       }};
        } else {
            qFatal("The design value %s has no control named %s", row.name, row.control);
        }
        m_bindings.push_back(std::move(binding));
    }
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
