#include "render/Badge.h"

QStringList Badge::StyleNames() {
    return {QStringLiteral("label"), QStringLiteral("ribbon")};
}

QStringList Badge::PositionNames() {
    return {QStringLiteral("top-left"),  QStringLiteral("top"),
            QStringLiteral("top-right"), QStringLiteral("bottom-left"),
            QStringLiteral("bottom"),    QStringLiteral("bottom-right")};
}

QString FilledBadgeText(const QString& text, const QString& version, QString& problem) {
    const QString placeholder = QStringLiteral("{version}");
    if (!text.contains(placeholder))
        return text;
    if (version.trimmed().isEmpty()) {
        problem = QStringLiteral("the badge \"%1\" needs --version").arg(text);
        return {};
    }
    return QString(text).replace(placeholder, version.trimmed());
}
