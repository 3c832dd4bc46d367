#include "cli/BadgeArguments.h"

#include "design/FontFamilies.h"

namespace {

const QString BadgeText = QStringLiteral("--badge");
const QString Style = QStringLiteral("--badge-style");
const QString Position = QStringLiteral("--badge-position");
const QString Color = QStringLiteral("--badge-color");
const QString Font = QStringLiteral("--badge-font");
const QString Splash = QStringLiteral("--badge-splash");
const QString Version = QStringLiteral("--version");

QString Choices(const QStringList& names) {
    return names.join(QStringLiteral(", "));
}

} // namespace

bool BadgeArguments::Takes(const QString& option) {
    return option == BadgeText || option == Style || option == Position || option == Color ||
           option == Font || option == Splash || option == Version;
}

bool BadgeArguments::IsFlag(const QString& option) {
    return option == Splash;
}

bool BadgeArguments::TakesEmpty(const QString& option) {
    return option == BadgeText;
}

QString BadgeArguments::Add(const QString& option, const QString& value) {
    if (option == BadgeText) {
        m_badge.text = value;
    } else if (option == Style || option == Position) {
        const QStringList names = option == Style ? Badge::StyleNames() : Badge::PositionNames();
        const qsizetype index = names.indexOf(value);
        if (index < 0)
            return QStringLiteral("%1 takes one of %2, not \"%3\"")
                .arg(option, Choices(names), value);
        if (option == Style)
            m_badge.style = Badge::Style(index);
        else
            m_badge.position = Badge::Position(index);
    } else if (option == Color) {
        const QColor color = QColor::fromString(value);
        if (!value.startsWith(u'#') || value.size() != 7 || !color.isValid())
            return QStringLiteral("%1 takes a colour as #RRGGBB, not \"%2\"").arg(option, value);
        m_badge.color = color;
    } else if (option == Font) {
        const QStringList& families = FontFamilyList();
        const qsizetype index = families.indexOf(value);
        if (index < 0)
            return QStringLiteral("%1 takes one of %2, not \"%3\"")
                .arg(option, Choices(families), value);
        m_badge.family = int(index);
    } else if (option == Splash) {
        m_badge.splash = true;
    } else {
        m_version = value;
    }
    return {};
}

Badge BadgeArguments::Finished(QString& problem) const {
    Badge badge = m_badge;
    badge.text = FilledBadgeText(m_badge.text, m_version, problem);
    return badge;
}

const char* BadgeArguments::HelpLines() {
    return "  --badge TEXT         export: draw TEXT as a badge over every picture (\"\" for "
           "none);\n"
           "                       {version} in it is the --version given\n"
           "  --badge-style S      export: label (the default) or ribbon\n"
           "  --badge-position P   export: top-left, top, top-right, bottom-left, bottom (the\n"
           "                       default) or bottom-right\n"
           "  --badge-color #RRGGBB  export: the badge's colour (default #D32F2F)\n"
           "  --badge-font FAMILY  export: one of the design's font families (default Helvetica)\n"
           "  --badge-splash       export: badge the splash screens too\n"
           "  --version V          export: the version the badge's {version} stands for\n";
}
