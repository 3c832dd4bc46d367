#pragma once

#include "render/PlatformLooks.h"

#include <QWidget>

class QLabel;

// One tile of the preview wall: its picture one image pixel per device pixel, never smoothed,
// on a checkerboard where it is transparent, and its caption below. A tile with a safe zone
// outlines it while the pointer is over the tile.
class PreviewTileView : public QWidget {
    Q_OBJECT

public:
    explicit PreviewTileView(QWidget* parent = nullptr);

    const PreviewTile& tile() const { return m_tile; }
    void setTile(const PreviewTile& tile);

protected:
    bool event(QEvent* event) override;

private:
    class Picture;

    PreviewTile m_tile;
    Picture* m_picture;
    QLabel* m_caption;
};
