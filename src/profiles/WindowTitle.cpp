#include "profiles/WindowTitle.h"

#include <QFileInfo>
#include <QTextBoundaryFinder>

namespace WindowTitle {

QString Untitled() {
    return QStringLiteral("Sigilon");
}

QString ForProfile(const QString& profilePath) {
    const QString fileName = QFileInfo(profilePath).fileName();
    const QString name = fileName.size() < 4 ? QString() : fileName.chopped(4);
    return QStringLiteral("Sigilon - ") + name;
}

bool HasMarker(const QString& title) {
    if (title.isEmpty())
        return false;
    // "*" followed by a combining mark is a different character, so step back one whole
    // grapheme rather than one code unit.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, title);
    graphemes.toEnd();
    const qsizetype start = graphemes.toPreviousBoundary();
    return QStringView(title).sliced(start) == u"*";
}

QString WithMarker(const QString& title) {
    return HasMarker(title) ? title : title + u'*';
}

} // namespace WindowTitle
