#include "profiles/ProfileText.h"

#include "design/DesignSettings.h"
#include "profiles/ProfileLayout.h"
#include "profiles/ProfileNumbers.h"

#include <QList>
#include <cmath>
#include <limits>

namespace {

// Layouts are told apart by their number of lines alone. The older ones predate the watchOS
// set; the oldest also the iOS sizes 20 and 512, the quality text and the name pattern.
constexpr qsizetype WatchlessLineCount = 93;
constexpr qsizetype OldestLineCount = 89;
constexpr qsizetype OldestSharedLineCount = 85;

template <typename... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };
// Spelled out for compilers without aggregate deduction (clang before 17).
template <typename... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

bool IsLineBreak(QChar c) {
    const char16_t code = c.unicode();
    return (code >= 0x0A && code <= 0x0D) || code == 0x85 || code == 0x2028 || code == 0x2029;
}

// Every line-break character ends a piece on its own, so CR LF gives an empty piece between
// the two, and a text ending in a line break ends in an empty piece.
QList<QStringView> SplitAtLineBreaks(QStringView text) {
    QList<QStringView> pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsLineBreak(text[i])) {
            pieces.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.sliced(start));
    return pieces;
}

QString LineText(const ProfileLine& line) {
    return std::visit(
        Overloaded{
            [](const WholeNumberLine& l) { return QString::number(*l.value); },
            [](const ComponentLine& l) { return ProfileComponentText(l.color->*l.component); },
            [](const RealLine& l) { return ProfileRealText(*l.value); },
            [](const TextLine& l) { return *l.value; },
        },
        line);
}

// Sets the line's value from its piece; false when the piece does not parse.
bool ReadLine(const ProfileLine& line, QStringView piece) {
    return std::visit(Overloaded{
                          [piece](const WholeNumberLine& l) {
                              const std::optional<int> value = ParseProfileStateOrIndex(piece);
                              if (value)
                                  *l.value = *value;
                              return value.has_value();
                          },
                          [piece](const ComponentLine& l) {
                              // Components are stored as 32-bit values; alpha is not stored at all.
                              const std::optional<float> value = ParseProfileReal(piece);
                              if (value) {
                                  l.color->*l.component = *value;
                                  l.color->alpha = 1.0;
                              }
                              return value.has_value();
                          },
                          [piece](const RealLine& l) {
                              const std::optional<float> value = ParseProfileReal(piece);
                              if (value)
                                  *l.value = *value;
                              return value.has_value();
                          },
                          [piece](const TextLine& l) {
                              *l.value = piece.toString();
                              return true;
                          },
                      },
                      line);
}

// The oldest layout numbered only PNG, JPG, TIFF, GIF and BMP.
int FormatFromOldestNumbering(int stored) {
    if (stored == 2)
        return 6;
    if (stored >= 3)
        return stored <= std::numeric_limits<int>::max() - 5 ? stored + 5 : -1;
    return stored;
}

// The oldest layout kept the quality as a fraction, 1.0 being best.
void SetQualityFromFraction(DesignSettings& record, float fraction) {
    // Adding zero turns a negative zero into zero, so the text never reads "-0".
    const float quality = fraction == 0.0f ? 1.0f : std::round(fraction * 100.0f) + 0.0f;
    record.quality = quality;
    record.qualityText = QString::number(quality, 'f', 0);
}

} // namespace

QString MakeProfileText(const DesignSettings& settings) {
    // The layout addresses a record it may change, so the writer walks a copy.
    DesignSettings record = settings;
    QString text;
    for (const ProfileLine& line : CurrentProfileLayout(record)) {
        text += LineText(line);
        text += u'\n';
    }
    return text;
}

bool ApplyProfileText(DesignSettings& settings, const QString& text, bool olderLayoutsAccepted) {
    const QList<QStringView> pieces = SplitAtLineBreaks(text);
    // The last piece follows the last line break and is never read.
    const qsizetype lineCount = pieces.size() - 1;

    // The lines are applied to a copy that replaces the settings only once every line has
    // parsed, so a bad line anywhere leaves the settings as they were.
    DesignSettings record = settings;
    std::vector<ProfileLine> lines = CurrentProfileLayout(record);
    int oldestFormat = 0;
    float qualityFraction = 0.0f;
    if (olderLayoutsAccepted && lineCount == WatchlessLineCount) {
        lines.resize(WatchlessLineCount);
    } else if (olderLayoutsAccepted && lineCount == OldestLineCount) {
        lines.resize(OldestSharedLineCount);
        lines.push_back(WholeNumberLine{&oldestFormat});
        lines.push_back(RealLine{&qualityFraction});
        lines.push_back(TextLine{&record.canvasWidthText});
        lines.push_back(TextLine{&record.canvasHeightText});
    } else if (lineCount != static_cast<qsizetype>(lines.size())) {
        return false;
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!ReadLine(lines[i], pieces[static_cast<qsizetype>(i)]))
            return false;
    }
    if (lineCount == OldestLineCount) {
        record.iconFormat = FormatFromOldestNumbering(oldestFormat);
        SetQualityFromFraction(record, qualityFraction);
    }
    settings = record;
    return true;
}
