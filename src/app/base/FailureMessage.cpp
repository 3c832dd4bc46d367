#include "app/base/FailureMessage.h"

#include <QFileInfo>
#include <QObject>

namespace FailureMessage {

QString Compose(const QString& what, const QString& path, const QString& reason) {
    return what + u'\n' + path + u'\n' + reason;
}

QString ReadProblem(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        return QObject::tr("No such file or directory");
    if (file.isDir())
        return QObject::tr("Is a directory");
    if (!file.isReadable())
        return QObject::tr("Permission denied");
    if (!file.isFile())
        return QObject::tr("Not an ordinary file");
    return DamagedContent();
}

QString DamagedContent() {
    return QObject::tr("The content is damaged or of another kind");
}

} // namespace FailureMessage
