#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class SvgImage;

// Reads icon images off the main thread: a file is decoded by an image helper process, which
// may take up to two seconds to answer, and the window stays live meanwhile. Of loads started
// one after another, only the last one's result is handed on.
class IconImageLoading : public QObject {
    Q_OBJECT

public:
    struct Result {
        QString source;                         // a file's path, or the library's "symbol:SET/NAME"
        QImage image;                           // null when it could not be loaded
        QString problem;                        // then, what to tell
        std::shared_ptr<const SvgImage> vector; // for an SVG document
    };
    using Loaded = std::function<void(const Result&)>;

    explicit IconImageLoading(QObject* parent);

    void Start(const QString& source, Loaded loaded);

    // Whether a load is running.
    bool busy() const { return m_running > 0; }

private:
    quint64 m_started = 0;
    int m_running = 0;
};
