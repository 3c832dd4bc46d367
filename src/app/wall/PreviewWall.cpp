#include "app/wall/PreviewWall.h"

#include "app/base/BackgroundTask.h"
#include "app/wall/PreviewTileView.h"

#include <QGridLayout>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

PreviewWall::PreviewWall(QWidget* parent) : QWidget(parent), m_grid(new QGridLayout(this)) {
    // One thread, and only the time the editor leaves idle: the wall is a side view, and on
    // a small machine it must not slow the preview that follows the user's hand.
    m_pool.setMaxThreadCount(1);
    m_pool.setThreadPriority(QThread::IdlePriority);
    m_grid->setSpacing(8);
    m_grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
}

PreviewWall::~PreviewWall() {
    // The tiles being computed read nothing of the wall; wait for them so that no work
    // outlives the window.
    m_pool.waitForDone();
}

void PreviewWall::ShowRendering(const IconDesign& design, const QImage& rendering) {
    if (rendering.isNull())
        return;
    m_waiting = Request{++m_lastRequest, design, rendering, m_badge};
    m_lastShown = m_waiting;
    if (!m_computing)
        StartNextRequest();
}

void PreviewWall::SetBadge(const Badge& badge) {
    m_badge = badge;
    if (m_lastShown)
        ShowRendering(m_lastShown->design, m_lastShown->rendering);
}

void PreviewWall::StartNextRequest() {
    if (!m_waiting)
        return;
    Request request = std::move(*m_waiting);
    m_waiting.reset();
    m_computing = true;
    BackgroundTask::Run<Tiles>(
        [request = std::move(request)] {
            // All of the work on this one low-priority thread.
            constexpr int kThreads = 1;
            return Tiles{request.number, PlatformLooks::WallTiles(request.design, request.rendering,
                                                                  kThreads, request.badge)};
        },
        this, [this](const Tiles& result) { TilesComputed(result); }, &m_pool);
}

void PreviewWall::TilesComputed(const Tiles& result) {
    m_computing = false;
    if (result.request != m_lastRequest) {
        StartNextRequest(); // superseded: only the newest rendering is worth showing
        return;
    }
    while (m_views.size() < result.tiles.size())
        m_views.append(new PreviewTileView(this));
    for (int index = 0; index < result.tiles.size(); ++index)
        m_views[index]->setTile(result.tiles[index]);
    m_columns = 0; // the tiles may have changed size
    ArrangeTiles();
    // Shown with their tiles, not one event later as a layout would show them.
    for (PreviewTileView* view : std::as_const(m_views))
        view->show();
    emit tilesShown();
}

void PreviewWall::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangeTiles();
}

QSize PreviewWall::CellSize() const {
    QSize cell;
    for (const PreviewTileView* view : m_views)
        cell = cell.expandedTo(view->sizeHint());
    if (!cell.isEmpty())
        return cell;
    // No tiles yet: the largest tile's picture with a line of caption and some margin.
    const int picture = int(std::ceil(PlatformLooks::kLargestTileSide / devicePixelRatioF()));
    return {picture + 8, picture + 12 + fontMetrics().lineSpacing()};
}

QSize PreviewWall::sizeHint() const {
    // Fourteen tiles: the four real sizes and ten looks.
    constexpr int kColumns = 7;
    constexpr int kRows = 2;
    const QSize cell = CellSize();
    const QMargins margins = m_grid->contentsMargins();
    return {kColumns * cell.width() + (kColumns - 1) * m_grid->spacing() + margins.left() +
                margins.right(),
            kRows * cell.height() + (kRows - 1) * m_grid->spacing() + margins.top() +
                margins.bottom()};
}

QSize PreviewWall::minimumSizeHint() const {
    // One column wide, so a narrow wall reflows instead of being cut; as tall as its rows.
    const QMargins margins = m_grid->contentsMargins();
    return {CellSize().width() + margins.left() + margins.right(), m_grid->minimumSize().height()};
}

// As many equal columns as the width holds, at least one.
void PreviewWall::ArrangeTiles() {
    if (m_views.isEmpty())
        return;
    const int cellWidth = CellSize().width();
    const QMargins margins = m_grid->contentsMargins();
    const int available = width() - margins.left() - margins.right() + m_grid->spacing();
    const int columns =
        std::clamp(available / (cellWidth + m_grid->spacing()), 1, int(m_views.size()));
    if (columns == m_columns)
        return;
    m_columns = columns;
    for (int index = 0; index < m_views.size(); ++index) {
        m_views[index]->setMinimumWidth(cellWidth);
        m_grid->addWidget(m_views[index], index / columns, index % columns, Qt::AlignBottom);
    }
    updateGeometry(); // the number of rows, and so the height needed, changed
}
