#include "app/dialogs/SymbolGrid.h"

#include "symbols/SymbolDocument.h"
#include "symbols/SymbolSet.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCell = 64;
constexpr int kDrawing = 44;
// A paint draws new cells for at most this long, then shows what it has and goes on at the
// next turn of the event loop, so the view moves with the scroll bar at once.
constexpr qint64 kDrawingBudgetMs = 12;
// About thirty screens of cells.
constexpr int kCachedDrawings = 3000;

} // namespace

SymbolGrid::SymbolGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(kCell / 2);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    m_drawings.setMaxCost(kCachedDrawings);
}

QSize SymbolGrid::sizeHint() const {
    return QSize(kCell * 10 + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
                 kCell * 6 + 2 * frameWidth());
}

void SymbolGrid::setEntries(std::vector<const SymbolEntry*> entries) {
    m_entries = std::move(entries);
    m_current = -1;
    verticalScrollBar()->setValue(0);
    UpdateScrollRange();
    SetCurrent(m_entries.empty() ? -1 : 0);
    viewport()->update();
}

const SymbolEntry* SymbolGrid::currentEntry() const {
    return m_current >= 0 && m_current < int(m_entries.size()) ? m_entries[size_t(m_current)]
                                                               : nullptr;
}

int SymbolGrid::Columns() const {
    return std::max(1, viewport()->width() / kCell);
}

int SymbolGrid::Rows() const {
    return (int(m_entries.size()) + Columns() - 1) / Columns();
}

QRect SymbolGrid::CellRect(int index) const {
    const int left = (viewport()->width() - Columns() * kCell) / 2;
    return QRect(left + index % Columns() * kCell,
                 index / Columns() * kCell - verticalScrollBar()->value(), kCell, kCell);
}

int SymbolGrid::IndexAt(QPoint point) const {
    const int left = (viewport()->width() - Columns() * kCell) / 2;
    const int column = (point.x() - left) / kCell;
    const int row = (point.y() + verticalScrollBar()->value()) / kCell;
    const int index = row * Columns() + column;
    return point.x() >= left && column < Columns() && index < int(m_entries.size()) ? index : -1;
}

void SymbolGrid::UpdateScrollRange() {
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, Rows() * kCell - viewport()->height()));
}

void SymbolGrid::SetCurrent(int index) {
    if (m_entries.empty())
        index = -1;
    else
        index = std::clamp(index, 0, int(m_entries.size()) - 1);
    const bool changed = index != m_current;
    m_current = index;
    if (index >= 0) {
        const QRect cell = CellRect(index);
        if (cell.top() < 0)
            verticalScrollBar()->setValue(verticalScrollBar()->value() + cell.top());
        else if (cell.bottom() > viewport()->height())
            verticalScrollBar()->setValue(verticalScrollBar()->value() + cell.bottom() -
                                          viewport()->height() + 1);
    }
    viewport()->update();
    if (changed)
        emit currentChanged(currentEntry());
}

bool SymbolGrid::MoveByKey(int key) {
    const int columns = Columns();
    const int page = std::max(1, viewport()->height() / kCell) * columns;
    const int last = int(m_entries.size()) - 1;
    switch (key) {
    case Qt::Key_Left:
        SetCurrent(m_current - 1);
        return true;
    case Qt::Key_Right:
        SetCurrent(m_current + 1);
        return true;
    case Qt::Key_Up:
        SetCurrent(m_current - columns >= 0 ? m_current - columns : m_current);
        return true;
    case Qt::Key_Down:
        SetCurrent(m_current + columns <= last ? m_current + columns : m_current);
        return true;
    case Qt::Key_PageUp:
        SetCurrent(m_current - page);
        return true;
    case Qt::Key_PageDown:
        SetCurrent(m_current + page);
        return true;
    case Qt::Key_Home:
        SetCurrent(0);
        return true;
    case Qt::Key_End:
        SetCurrent(last);
        return true;
    default:
        return false;
    }
}

void SymbolGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (const SymbolEntry* entry = currentEntry())
            emit chosen(entry);
        return;
    }
    if (!MoveByKey(event->key()))
        QAbstractScrollArea::keyPressEvent(event);
}

void SymbolGrid::mousePressEvent(QMouseEvent* event) {
    if (const int index = IndexAt(event->position().toPoint()); index >= 0)
        SetCurrent(index);
}

void SymbolGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const int index = IndexAt(event->position().toPoint());
    if (index >= 0) {
        SetCurrent(index);
        emit chosen(currentEntry());
    }
}

bool SymbolGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = IndexAt(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(), m_entries[size_t(index)]->QualifiedName(),
                               viewport(), CellRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void SymbolGrid::changeEvent(QEvent* event) {
    // Symbols are drawn in the text colour: a new palette draws them anew.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        m_drawings.clear();
    QAbstractScrollArea::changeEvent(event);
}

void SymbolGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

const QImage* SymbolGrid::Drawing(const SymbolEntry* entry, bool mayDraw) {
    if (const QImage* drawn = m_drawings.object(entry))
        return drawn;
    if (!mayDraw)
        return nullptr;
    const qreal ratio = devicePixelRatioF();
    auto* drawing = new QImage(DrawSymbolSample(*entry, int(std::ceil(kDrawing * ratio)),
                                                palette().color(QPalette::Text)));
    drawing->setDevicePixelRatio(ratio);
    m_drawings.insert(entry, drawing);
    return drawing;
}

void SymbolGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int first = std::max(0, verticalScrollBar()->value() / kCell * Columns());
    const int end = std::min(
        int(m_entries.size()),
        (verticalScrollBar()->value() + viewport()->height()) / kCell * Columns() + 2 * Columns());
    QElapsedTimer clock;
    clock.start();
    bool undrawn = false;
    for (int index = first; index < end; ++index) {
        const QRect cell = CellRect(index);
        if (index == m_current) {
            QColor highlight = palette().color(QPalette::Highlight);
            painter.setPen(QPen(highlight, 2));
            highlight.setAlphaF(hasFocus() ? 0.3f : 0.15f);
            painter.setBrush(highlight);
            painter.drawRoundedRect(QRectF(cell).adjusted(3, 3, -3, -3), 6, 6);
        }
        const QImage* drawing =
            Drawing(m_entries[size_t(index)], clock.elapsed() < kDrawingBudgetMs);
        if (!drawing) {
            undrawn = true;
            continue;
        }
        const QRect place(cell.center() - QPoint(kDrawing / 2, kDrawing / 2),
                          QSize(kDrawing, kDrawing));
        painter.drawImage(place, *drawing);
    }
    if (undrawn)
        QTimer::singleShot(0, viewport(), qOverload<>(&QWidget::update));
}
