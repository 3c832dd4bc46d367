#pragma once

#include "design/IconDesign.h"
#include "render/Badge.h"
#include "render/PlatformLooks.h"

#include <QImage>
#include <QList>
#include <QThreadPool>
#include <QWidget>
#include <optional>

class QGridLayout;
class PreviewTileView;

// The icon at its real sizes and in its platform looks, side by side in a grid that fills the
// wall's width. The tiles are computed on a thread of their own at the lowest priority, so the
// editor's preview never waits for them; a newer rendering supersedes one still waiting or
// being computed, whose tiles are then never shown.
class PreviewWall : public QWidget {
    Q_OBJECT

public:
    explicit PreviewWall(QWidget* parent = nullptr);
    ~PreviewWall() override;

    // Shows the tiles of this rendering of the design once they are computed. An empty
    // rendering is ignored.
    void ShowRendering(const IconDesign& design, const QImage& rendering);

    // Shows `badge` over the looks as the export draws it, the last rendering's tiles again
    // with it.
    void SetBadge(const Badge& badge);

    QList<PreviewTileView*> tileViews() const { return m_views; }

    // Room for every tile in two rows; at least one column of every row.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The tiles of the latest rendering are on the wall.
    void tilesShown();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Request {
        int number;
        IconDesign design;
        QImage rendering;
        Badge badge;
    };
    struct Tiles {
        int request; // the number of the request these tiles answer
        QList<PreviewTile> tiles;
    };

    void StartNextRequest();
    void TilesComputed(const Tiles& result);
    void ArrangeTiles();
    QSize CellSize() const;

    QThreadPool m_pool;
    int m_lastRequest = 0;
    bool m_computing = false;
    std::optional<Request> m_waiting;
    std::optional<Request> m_lastShown; // the last request made, for a new badge
    Badge m_badge;
    QGridLayout* m_grid;
    QList<PreviewTileView*> m_views;
    int m_columns = 0;
};
