#pragma once

#include "design/Rgba.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <variant>

struct DesignSettings;

// `--set NAME=VALUE`: values that replace single fields of the design after its profile is
// applied, so one profile yields variants (a "BETA" text, a flavour colour) without editing
// the file. NAME is the field's name in the design record: `text`, `fontSize`,
// `gradientStartColor`, ...; a text that has no number beside it drops its "Text" suffix
// (`canvasWidth`, `customWidth`), and each size check box is named by its set and size
// (`iosSize20`, `watchSize172`, `macSize1024`). Each name stands for exactly one value of the
// profile text, so an override changes that value and nothing else.
class DesignOverrides {
public:
    // Reads one "NAME=VALUE". Returns an empty string, or the message for the user naming the
    // field and what it accepts when NAME is unknown or VALUE is not of the field's kind:
    // finite decimal numbers, whole numbers within the field's range for the number fields'
    // texts (a canvas side from 1 to 10000), colours as #RRGGBB, flags as on/off, text as given.
    QString Add(const QString& assignment);

    // Applies the overrides in the order they were added; a later one for the same name wins.
    void ApplyTo(DesignSettings& settings) const;

    // Every name Add accepts, grouped as the editor's window groups the values.
    static QStringList Names();

    // A parsed value: a flag, index or whole number, a real, a colour or a text.
    using Value = std::variant<int, float, Rgba, QString>;

private:
    struct Override {
        QString name;
        Value value;
    };
    QList<Override> m_overrides;
};
