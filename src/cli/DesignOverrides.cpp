#include "cli/DesignOverrides.h"

#include "design/DesignSettings.h"
#include "design/DesignValues.h"
#include "design/NumberText.h"
#include "profiles/ProfileNumbers.h"

#include <QRegularExpression>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// The kinds of value a field holds, each addressing the field in one record.
struct Flag {
    int* value;
};
struct Index {
    int* value;
    int count;
};
// A number field's text, a whole number within the field's range.
struct Whole {
    QString* text;
    int minimum;
    int maximum;
};
struct Real {
    float* value;
};
struct Color {
    Rgba* value;
};
struct Text {
    QString* value;
};
using Target = std::variant<Flag, Index, Whole, Real, Color, Text>;

struct Field {
    QString name;
    Target target;
};

// The fields of `r` under their override names, as the design values' table lists them.
std::vector<Field> Fields(DesignSettings& r) {
    using DesignValues::Kind;
    std::vector<Field> fields;
    for (const DesignValues::Row& row : DesignValues::Table()) {
        const DesignValues::Reference value = row.in(r);
        Target target = Text{};
        switch (row.kind) {
        case Kind::Flag:
            target = Flag{std::get<int*>(value)};
            break;
        case Kind::Index:
            target = Index{std::get<int*>(value), int(row.maximum) + 1};
            break;
        case Kind::NumberText:
            target = Whole{std::get<QString*>(value), int(row.minimum), int(row.maximum)};
            break;
        case Kind::Real:
            target = Real{std::get<float*>(value)};
            break;
        case Kind::Color:
            target = Color{std::get<Rgba*>(value)};
            break;
        case Kind::Text:
            target = Text{std::get<QString*>(value)};
            break;
        }
        fields.push_back({QString::fromLatin1(row.name), target});
    }
    return fields;
}

const Field* Find(const std::vector<Field>& fields, const QString& name,
                  Qt::CaseSensitivity sensitivity = Qt::CaseSensitive) {
    for (const Field& field : fields) {
        if (field.name.compare(name, sensitivity) == 0)
            return &field;
    }
    return nullptr;
}

// What a field of each kind accepts, as the user is told it.
QString Accepted(const Target& target) {
    return std::visit(
        [](const auto& kind) -> QString {
            using Kind = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<Kind, Flag>)
                return QStringLiteral("on or off");
            else if constexpr (std::is_same_v<Kind, Index>)
                return QStringLiteral("a whole number from 0 to %1").arg(kind.count - 1);
            else if constexpr (std::is_same_v<Kind, Whole>)
                return QStringLiteral("a whole number from %1 to %2")
                    .arg(kind.minimum)
                    .arg(kind.maximum);
            else if constexpr (std::is_same_v<Kind, Real>)
                return QStringLiteral("a number such as 40 or 0.25");
            else if constexpr (std::is_same_v<Kind, Color>)
                return QStringLiteral("a colour as #RRGGBB");
            else
                return QStringLiteral("one line of text");
        },
        target);
}

// #RRGGBB, each component the byte over 255 as a colour well gives it (alpha is not set).
std::optional<Rgba> ParseColor(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    const auto component = [&text](int i) {
        return text.mid(1 + 2 * i, 2).toUInt(nullptr, 16) / 255.0;
    };
    return Rgba{component(0), component(1), component(2)};
}

// A decimal number that is finite in 32 bits. The profile reader also takes "inf", "nan" and
// hexadecimal, which stored files may hold, but a value given on the command line is a number
// as the window's fields show it.
std::optional<float> ParseDecimalReal(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    const std::optional<float> real = ParseProfileReal(text);
    if (!real || !std::isfinite(*real))
        return std::nullopt;
    return real;
}

std::optional<int> ParseFlag(const QString& text) {
    if (text == u"on")
        return 1;
    if (text == u"off")
        return 0;
    return std::nullopt;
}

// The value `text` stands for in the field, or nullopt when it is not of the field's kind.
std::optional<DesignOverrides::Value> ParseValue(const Target& target, const QString& text) {
    using Result = std::optional<DesignOverrides::Value>;
    return std::visit(
        [&text](const auto& kind) -> Result {
            using Kind = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<Kind, Flag>) {
                if (const auto flag = ParseFlag(text))
                    return *flag;
            } else if constexpr (std::is_same_v<Kind, Index>) {
                const auto index = ParseProfileStateOrIndex(text);
                if (index && *index >= 0 && *index < kind.count)
                    return *index;
            } else if constexpr (std::is_same_v<Kind, Whole>) {
                const auto whole = ParseWholeNumber(text);
                if (whole && *whole >= kind.minimum && *whole <= kind.maximum)
                    return int(*whole);
            } else if constexpr (std::is_same_v<Kind, Real>) {
                if (const auto real = ParseDecimalReal(text))
                    return *real;
            } else if constexpr (std::is_same_v<Kind, Color>) {
                if (const auto color = ParseColor(text))
                    return *color;
            } else {
                // A line break would end the profile's line early and shift every later one.
                if (!text.contains(u'\n') && !text.contains(u'\r'))
                    return text;
            }
            return std::nullopt;
        },
        target);
}

} // namespace

QString DesignOverrides::Add(const QString& assignment) {
    const qsizetype equals = assignment.indexOf(u'=');
    if (equals <= 0)
        return QStringLiteral("--set needs NAME=VALUE, not \"%1\"").arg(assignment);
    const QString name = assignment.left(equals);
    const QString text = assignment.mid(equals + 1);

    DesignSettings scratch;
    const std::vector<Field> fields = Fields(scratch);
    const Field* field = Find(fields, name);
    if (!field) {
        const Field* near = Find(fields, name, Qt::CaseInsensitive);
        return QStringLiteral("--set: the design has no value named \"%1\"%2 (sigilon(1) lists "
                              "the names)")
            .arg(name, near ? QStringLiteral("; did you mean %1?").arg(near->name) : QString());
    }
    const auto value = ParseValue(field->target, text);
    if (!value) {
        return QStringLiteral("--set %1: \"%2\" is not accepted; %1 takes %3")
            .arg(name, text, Accepted(field->target));
    }
    m_overrides.append({name, *value});
    return {};
}

void DesignOverrides::ApplyTo(DesignSettings& settings) const {
    const std::vector<Field> fields = Fields(settings);
    for (const Override& entry : m_overrides) {
        const Field* field = Find(fields, entry.name);
        std::visit(
            [&entry](const auto& kind) {
                using Kind = std::decay_t<decltype(kind)>;
                if constexpr (std::is_same_v<Kind, Flag> || std::is_same_v<Kind, Index>)
                    *kind.value = std::get<int>(entry.value);
                else if constexpr (std::is_same_v<Kind, Whole>)
                    *kind.text = QString::number(std::get<int>(entry.value));
                else if constexpr (std::is_same_v<Kind, Real>)
                    *kind.value = std::get<float>(entry.value);
                else if constexpr (std::is_same_v<Kind, Color>) {
                    // The record's alpha stays: the profile has no line for it.
                    const Rgba& color = std::get<Rgba>(entry.value);
                    kind.value->red = color.red;
                    kind.value->green = color.green;
                    kind.value->blue = color.blue;
                } else
                    *kind.value = std::get<QString>(entry.value);
            },
            field->target);
    }
}

QStringList DesignOverrides::Names() {
    DesignSettings scratch;
    QStringList names;
    for (const Field& field : Fields(scratch))
        names.append(field.name);
    return names;
}
