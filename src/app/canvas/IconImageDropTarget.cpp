#include "app/canvas/IconImageDropTarget.h"

#include "app/base/FailureMessage.h"
#include "app/canvas/InfoProvider.h"
#include "export/Prompter.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

IconImageDropTarget::IconImageDropTarget(QWidget* target, Prompter& prompter,
                                         std::function<void(const QString& path)> dropped)
    : QObject(target), m_infoProvider(InfoProvider::Shared()), m_prompter(prompter),
      m_dropped(std::move(dropped)) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

const QStringList& IconImageDropTarget::AcceptedTypes() {
    static const QStringList types{"jpg",  "jpeg", "jpe", "jp2", "jpx", "png",
                                   "tiff", "tif",  "gif", "bmp", "svg", "svgz"};
    return types;
}

std::optional<QString> IconImageDropTarget::AcceptedPath(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return std::nullopt;
    // Of a drop of several files, the first one counts.
    const QUrl url = data->urls().value(0);
    if (!url.isLocalFile())
        return std::nullopt;
    const QString path = url.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("sgp")) {
        emit profileDropped(path);
        return std::nullopt;
    }
    if (!AcceptedTypes().contains(suffix)) {
        m_prompter.Alert(FailureMessage::Compose(
            QStringLiteral("The file is neither an image nor a profile."), path,
            QStringLiteral("Drop a PNG, JPEG, JPEG 2000, TIFF, GIF or BMP image, or a profile "
                           "(.sgp).")));
        return std::nullopt;
    }
    // The file is read when the editor takes it, in the background; a file that cannot be
    // loaded is reported then.
    if (!m_infoProvider.MayReplaceIcon(m_prompter))
        return std::nullopt;
    return path;
}

bool IconImageDropTarget::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> path = AcceptedPath(drop->mimeData());
        if (!path) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        m_dropped(*path);
        return true;
    }
    default:
        return false;
    }
}
