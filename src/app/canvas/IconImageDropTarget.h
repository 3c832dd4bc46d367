#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class InfoProvider;
class Prompter;
class QMimeData;
class QWidget;

// Makes a widget take files dropped on it, by the rules the window, the preview and the image
// path field share: any drag is welcome while it moves. A dropped profile (".sgp") is handed on
// with profileDropped. An image, a file whose extension (in any case) is one of AcceptedTypes(),
// is taken when the user agrees to replace an image loaded before: its path goes to `dropped`,
// which reads it (in the background) and reports a file that is no image. Any other file is
// refused with a message saying why; a drop that carries no file on this computer is refused
// silently.
class IconImageDropTarget : public QObject {
    Q_OBJECT

public:
    IconImageDropTarget(QWidget* target, Prompter& prompter,
                        std::function<void(const QString& path)> dropped);

    // The image file extensions the editor accepts, in lower case; also the open panel's.
    static const QStringList& AcceptedTypes();

    // The path of the dropped file when the drop is accepted, nullopt when it is refused.
    std::optional<QString> AcceptedPath(const QMimeData* data);

signals:
    void profileDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InfoProvider& m_infoProvider;
    Prompter& m_prompter;
    std::function<void(const QString&)> m_dropped;
};
