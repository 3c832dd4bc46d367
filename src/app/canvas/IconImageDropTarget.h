#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class InfoProvider;
class Prompter;
class QMimeData;
class QWidget;

// Makes a widget take image files dropped on it, by the rules the preview and the image path
// field share: any drag is welcome while it moves; a drop is accepted when it carries a file,
// the user agrees to replace an image loaded before, the file's extension (in any case) is one
// of AcceptedTypes() and the file reads as an image. An accepted drop hands the file's path to
// `dropped`; a refused one changes nothing and reports nothing.
class IconImageDropTarget : public QObject {
    Q_OBJECT

public:
    IconImageDropTarget(QWidget* target, Prompter& prompter,
                        std::function<void(const QString& path)> dropped);

    // The image file extensions the editor accepts, in lower case; also the open panel's.
    static const QStringList& AcceptedTypes();

    // The path of the dropped file when the drop is accepted, nullopt when it is refused.
    std::optional<QString> AcceptedPath(const QMimeData* data) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InfoProvider& m_infoProvider;
    Prompter& m_prompter;
    std::function<void(const QString&)> m_dropped;
};
