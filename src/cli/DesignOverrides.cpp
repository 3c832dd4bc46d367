#include "cli/DesignOverrides.h"

#include "design/DesignSettings.h"
#include "design/FontFamilies.h"
#include "design/NumberText.h"
#include "export/OutputFormat.h"
#include "export/SizeSets.h"
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
struct Colour {
    Rgba* value;
};
struct Text {
    QString* value;
};
using Target = std::variant<Flag, Index, Whole, Real, Colour, Text>;

struct Field {
    QString name;
    Target target;
};

// The fields of `r` under their override names, grouped as the editor's window groups them.
std::vector<Field> Fields(DesignSettings& r) {
    std::vector<Field> fields;
    const auto add = [&fields](const char* name, Target target) {
        fields.push_back({QString::fromLatin1(name), target});
    };
    const auto sizes = [&fields](const char* set, const auto& table, auto& checks) {
        for (std::size_t i = 0; i < table.size(); ++i)
            fields.push_back(
                {QString::fromLatin1(set) + QString::number(table[i]), Flag{&checks[i]}});
    };
    const int fontCount = int(FontFamilyList().size());
    constexpr int kLargestSide = 10000;
    constexpr int kFarthestOffset = 10000;

    add("transparentBackground", Flag{&r.transparentBackground});
    add("gradientStartColor", Colour{&r.gradientStartColor});
    add("gradientEndColor", Colour{&r.gradientEndColor});
    add("cornerCurvature", Real{&r.cornerCurvature});
    add("backgroundStroke", Flag{&r.backgroundStroke});
    add("backgroundStrokeColor", Colour{&r.backgroundStrokeColor});
    add("backgroundStrokeSize", Real{&r.backgroundStrokeSize});
    add("backgroundShadow", Flag{&r.backgroundShadow});
    add("backgroundShadowColor", Colour{&r.backgroundShadowColor});
    add("backgroundShadowOffset", Real{&r.backgroundShadowOffset});
    add("backgroundShadowAngle", Real{&r.backgroundShadowAngle});
    add("backgroundShadowBlur", Real{&r.backgroundShadowBlur});

    add("iconVerticalOffset", Real{&r.iconVerticalOffset});
    add("iconVerticalOffsetText",
        Whole{&r.iconVerticalOffsetText, -kFarthestOffset, kFarthestOffset});
    add("iconHorizontalOffset", Real{&r.iconHorizontalOffset});
    add("iconHorizontalOffsetText",
        Whole{&r.iconHorizontalOffsetText, -kFarthestOffset, kFarthestOffset});
    add("useImageColors", Flag{&r.useImageColors});
    add("iconColor", Colour{&r.iconColor});
    add("iconScale", Real{&r.iconScale});
    add("iconScaleText", Whole{&r.iconScaleText, 1, 999});
    add("iconRotation", Real{&r.iconRotation});
    add("iconShadow", Flag{&r.iconShadow});
    add("iconShadowColor", Colour{&r.iconShadowColor});
    add("iconShadowOffset", Real{&r.iconShadowOffset});
    add("iconShadowAngle", Real{&r.iconShadowAngle});
    add("iconShadowBlur", Real{&r.iconShadowBlur});

    add("text", Text{&r.text});
    add("textVerticalOffset", Real{&r.textVerticalOffset});
    add("textVerticalOffsetText",
        Whole{&r.textVerticalOffsetText, -kFarthestOffset, kFarthestOffset});
    add("textHorizontalOffset", Real{&r.textHorizontalOffset});
    add("textHorizontalOffsetText",
        Whole{&r.textHorizontalOffsetText, -kFarthestOffset, kFarthestOffset});
    add("textColor", Colour{&r.textColor});
    add("fontIndex", Index{&r.fontIndex, fontCount});
    add("fontSize", Real{&r.fontSize});
    add("fontSizeText", Whole{&r.fontSizeText, 1, 10000});
    add("textStroke", Flag{&r.textStroke});
    add("textStrokeColor", Colour{&r.textStrokeColor});
    add("textStrokeSize", Real{&r.textStrokeSize});
    add("textShadow", Flag{&r.textShadow});
    add("textShadowColor", Colour{&r.textShadowColor});
    add("textShadowOffset", Real{&r.textShadowOffset});
    add("textShadowAngle", Real{&r.textShadowAngle});
    add("textShadowBlur", Real{&r.textShadowBlur});

    add("canvasWidth", Whole{&r.canvasWidthText, 1, kLargestSide});
    add("canvasHeight", Whole{&r.canvasHeightText, 1, kLargestSide});

    add("iosIconSet", Flag{&r.iosIconSet});
    sizes("iosSize", SizeSets::IosSizes, r.iosSizes);
    add("watchIconSet", Flag{&r.watchIconSet});
    sizes("watchSize", SizeSets::WatchSizes, r.watchSizes);
    add("macIconSet", Flag{&r.macIconSet});
    sizes("macSize", SizeSets::MacSizes, r.macSizes);
    add("customSize", Flag{&r.customSize});
    add("customWidth", Whole{&r.customWidthText, 1, kLargestSide});
    add("customHeight", Whole{&r.customHeightText, 1, kLargestSide});

    add("iconFormat", Index{&r.iconFormat, OutputFormat::Count});
    add("quality", Real{&r.quality});
    add("qualityText", Whole{&r.qualityText, 1, 100});
    add("namePattern", Text{&r.namePattern});
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
            else if constexpr (std::is_same_v<Kind, Colour>)
                return QStringLiteral("a colour as #RRGGBB");
            else
                return QStringLiteral("one line of text");
        },
        target);
}

// #RRGGBB, each component the byte over 255 as a colour well gives it (alpha is not set).
std::optional<Rgba> ParseColour(const QString& text) {
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
            } else if constexpr (std::is_same_v<Kind, Colour>) {
                if (const auto colour = ParseColour(text))
                    return *colour;
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
                else if constexpr (std::is_same_v<Kind, Colour>) {
                    // The record's alpha stays: the profile has no line for it.
                    const Rgba& colour = std::get<Rgba>(entry.value);
                    kind.value->red = colour.red;
                    kind.value->green = colour.green;
                    kind.value->blue = colour.blue;
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
