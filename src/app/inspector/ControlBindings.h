#pragma once

#include "design/DesignSettings.h"

#include <functional>
#include <vector>

class QWidget;

// The one mapping between the window's controls and the settings record: each row of the
// design values' table names its control, found under `root` by its object name. Reading gives
// the design as the controls show it; writing sets every control without running any of their
// actions.
class ControlBindings {
public:
    explicit ControlBindings(const QWidget& root);

    DesignSettings Read() const;
    void Write(const DesignSettings& settings) const;

private:
    struct Binding {
        std::function<void(DesignSettings&)> read;
        std::function<void(const DesignSettings&)> write;
    };
    std::vector<Binding> m_bindings;
};
