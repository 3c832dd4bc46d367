#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class SvgImage;

// Reads icon image files off the main thread: each is decoded by an image helper process,
// which may take up to two seconds to answer, and the window stays live meanwhile. Of loads
// started one after another, only the last one's result is handed on.
class IconImageLoading : public QObject {
    Q_OBJECT

public:
    // A null image when the file could not be loaded; `vector` is set for an SVG document.
    using Loaded = std::function<void(const QString& path, const QImage& image,
                                      const std::shared_ptr<const SvgImage>& vector)>;

    IconImageLoading(Loaded loaded, QObject* parent);

    void Start(const QString& path);

    // Whether a load is running.
    bool busy() const { return m_running > 0; }

private:
    Loaded m_loaded;
    quint64 m_started = 0;
    int m_running = 0;
};
