#include "app/window/CanvasEditing.h"

#include "app/canvas/CustomImageView.h"
#include "app/inspector/CollapsibleSection.h"
#include "app/inspector/ValueDrags.h"
#include "app/window/LayerControls.h"
#include "app/window/ViewController.h"
#include "render/YUpGeometry.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>

namespace {

const QColor kSelection(0, 122, 255);
const QColor kGuide(255, 0, 170);
const QColor kCut(255, 40, 40, 160);
constexpr double kHandleSide = 8.0;

QString SectionName(CanvasLayer layer) {
    switch (layer) {
    case CanvasLayer::Background:
        return QStringLiteral("sectionBackground");
    case CanvasLayer::Icon:
        return QStringLiteral("sectionIcon");
    case CanvasLayer::Text:
        return QStringLiteral("sectionText");
    }
    return {};
}

QPen ScreenPen(const QColor& color, double width = 1.0) {
    QPen pen(color, width);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

CanvasEditing::CanvasEditing(ViewController& controller)
    : QObject(&controller), m_controller(controller), m_view(controller.controls().imageViewIcon),
      m_drags(controller.findChild<ValueDrags*>()) {
    m_view->setTool(this);
}

CanvasEditing::~CanvasEditing() {
    if (m_view)
        m_view->setTool(nullptr);
}

IconDesign CanvasEditing::Design() const {
    return DesignGeometry::ForDrawing(m_controller.ShownDesign());
}

void CanvasEditing::Select(std::optional<CanvasLayer> layer) {
    if (layer == m_selected)
        return;
    m_selected = layer;
    ShowSelectionInInspector();
    m_view->update();
    emit selectionChanged();
}

void CanvasEditing::ShowSelectionInInspector() {
    for (const CanvasLayer layer :
         {CanvasLayer::Background, CanvasLayer::Icon, CanvasLayer::Text}) {
        auto* section = m_controller.findChild<CollapsibleSection*>(SectionName(layer));
        if (!section)
            continue;
        section->setHighlighted(m_selected == layer);
        if (m_selected != layer)
            continue;
        section->setOpen(true);
        if (auto* panel =
                m_controller.findChild<QScrollArea*>(QStringLiteral("scrollAreaSettings")))
            panel->ensureWidgetVisible(section, 0, 0);
    }
}

void CanvasEditing::setKeylines(std::vector<Keyline> keylines) {
    m_keylines = std::move(keylines);
    m_overlayCanvas.reset();
    m_view->update();
}

void CanvasEditing::Press(const QPointF& at, const QRectF& picture, Qt::KeyboardModifiers) {
    const IconDesign design = Design();
    m_placement.emplace(design, picture);
    m_pressShapes = LayerShapes(design, m_placement->frame());
    m_pressAt = at;
    m_gesture.reset();
    // A handle of the selected layer comes before whatever lies under it.
    if (m_selected) {
        if (const LayerShape* shape = ShapeOf(m_pressShapes, *m_selected)) {
            const Handle handle =
                HandleAt(HandlesOf(*shape, m_placement->frameToScreen(), CornerRadius(design)), at);
            if (handle != Handle::None) {
                m_gesture.emplace(design, m_placement->frame(), *shape, handle,
                                  m_placement->ToFrame(at));
                Start();
                return;
            }
        }
    }
    // The selected layer stays grabbed where it lies under another, so Tab can reach it.
    const QPointF pressed = m_placement->ToFrame(at);
    const LayerShape* selected = m_selected ? ShapeOf(m_pressShapes, *m_selected) : nullptr;
    const std::optional<CanvasLayer> hit =
        selected && selected->area.contains(pressed) ? m_selected : LayerAt(m_pressShapes, pressed);
    Select(hit);
    // The background fills the canvas as designed: it is selected, not moved.
    if (hit && *hit != CanvasLayer::Background) {
        m_gesture.emplace(design, m_placement->frame(), *ShapeOf(m_pressShapes, *hit), Handle::None,
                          pressed);
        Start();
    }
}

void CanvasEditing::Drag(const QPointF& at, Qt::KeyboardModifiers keys) {
    if (!m_gesture)
        return;
    const bool shift = keys & Qt::ShiftModifier;
    const QPointF pointer = m_placement->ToFrame(at);
    LayerValues values;
    switch (m_gesture->handle()) {
    case Handle::None: {
        const QPointF change = m_placement->OffsetChange(at - m_pressAt);
        values = keys & Qt::AltModifier ? m_gesture->Moved(change)
                                        : Snapped(m_gesture->Moved(change), change);
        if (keys & Qt::AltModifier)
            m_guides.clear();
        break;
    }
    case Handle::Rotation:
        values = m_gesture->Turned(pointer, shift);
        break;
    default:
        values = m_gesture->layer() == CanvasLayer::Background ? m_gesture->Rounded(pointer)
                                                               : m_gesture->Scaled(pointer, shift);
        break;
    }
    if (Enter(m_gesture->layer(), values))
        m_drags->Moved(this);
    m_view->ShowReadout(Readout());
}

LayerValues CanvasEditing::Snapped(const LayerValues& moved, const QPointF& offsetChange) {
    const DesignGeometry::Frame& frame = m_placement->frame();
    std::vector<SnapLine> lines;
    AddCentreLines(lines, frame.background);
    for (const LayerShape& other : m_pressShapes)
        if (other.layer != m_gesture->layer() && other.layer != CanvasLayer::Background)
            AddBoxLines(lines, other.corners.boundingRect());
    if (!m_keylines.empty()) {
        const KeylineOverlay& overlay = Overlay(frame.background);
        lines.insert(lines.end(), overlay.snapLines.begin(), overlay.snapLines.end());
    }
    const QPointF frameChange = YUpGeometry::ToQtOffset(offsetChange.x(), offsetChange.y());
    const QRectF box = m_gesture->start().corners.boundingRect().translated(frameChange);
    const ::Snapped snapped = SnapBox(box, lines, kSnapPixels * m_placement->UnitsPerPixel());
    m_guides = snapped.guides;
    LayerValues values = moved;
    values.offset += YUpGeometry::ToQtOffset(snapped.shift.x(), snapped.shift.y());
    return values;
}

bool CanvasEditing::Enter(CanvasLayer layer, const LayerValues& values) {
    bool changed = false;
    m_controller.EditTogether(
        [&] { changed = EnterLayerValues(m_controller.controls(), layer, values); });
    return changed;
}

void CanvasEditing::Start() {
    m_controller.HoldFullSizePreview(true);
    m_drags->Start(this);
}

void CanvasEditing::Release() {
    if (m_gesture) {
        // The full-size picture starts first, so that the drag's end is recorded with it.
        m_controller.HoldFullSizePreview(false);
        m_drags->Finish(this);
    }
    m_gesture.reset();
    m_guides.clear();
    m_view->ShowReadout(QString());
}

QString CanvasEditing::Readout() const {
    const IconDesign design = m_controller.ShownDesign();
    const LayerValues values = ValuesOf(design, m_gesture->layer());
    switch (m_gesture->layer()) {
    case CanvasLayer::Icon:
        return tr("Icon: x %1, y %2 · %3 % · %4°")
            .arg(values.offset.x())
            .arg(values.offset.y())
            .arg(values.size)
            .arg(values.rotation);
    case CanvasLayer::Text:
        return tr("Text: x %1, y %2 · size %3")
            .arg(values.offset.x())
            .arg(values.offset.y())
            .arg(values.size);
    case CanvasLayer::Background:
        return tr("Corners: %1").arg(values.curvature, 0, 'f', 2);
    }
    return {};
}

bool CanvasEditing::Key(const QKeyEvent& event, const QRectF& picture) {
    if (m_gesture || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const IconDesign design = Design();
    const CanvasPlacement placement(design, picture);
    const std::vector<LayerShape> shapes = LayerShapes(design, placement.frame());
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        Select(NextLayer(shapes, m_selected, event.key() == Qt::Key_Backtab));
        return true;
    case Qt::Key_Escape:
        if (!m_selected)
            return false;
        Select(std::nullopt);
        return true;
    default:
        break;
    }
    const int dx = event.key() == Qt::Key_Right ? 1 : event.key() == Qt::Key_Left ? -1 : 0;
    const int dy = event.key() == Qt::Key_Up ? 1 : event.key() == Qt::Key_Down ? -1 : 0;
    if ((dx == 0 && dy == 0) || !m_selected || *m_selected == CanvasLayer::Background)
        return false;
    LayerValues values = ValuesOf(design, *m_selected);
    values.offset += NudgeOffset(dx, dy, event.modifiers() & Qt::ShiftModifier);
    Enter(*m_selected, values);
    return true;
}

const KeylineOverlay& CanvasEditing::Overlay(const QRectF& canvas) {
    if (!m_overlayCanvas || *m_overlayCanvas != canvas) {
        m_overlayCanvas = canvas;
        m_overlay = OverlayOf(m_keylines, canvas);
        m_keylinePictures.Forget();
    }
    return m_overlay;
}

void CanvasEditing::Paint(QPainter& painter, const QRectF& picture) {
    const IconDesign design = Design();
    const CanvasPlacement placement(design, picture);
    const std::vector<LayerShape> shapes = LayerShapes(design, placement.frame());
    const QTransform& toScreen = placement.frameToScreen();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_keylines.empty()) {
        const KeylineOverlay& overlay = Overlay(placement.frame().background);
        m_keylinePictures.Prepare(overlay, toScreen, picture.toAlignedRect() & m_view->rect(),
                                  painter.device()->devicePixelRatioF());
        painter.drawImage(m_keylinePictures.origin(), m_keylinePictures.shade());
        // The ink a mask cuts, through a clip rather than path operations on the glyphs, which
        // would take longer than the picture of a dragged layer.
        painter.save();
        painter.setClipPath(toScreen.map(overlay.shaded), Qt::IntersectClip);
        for (const LayerShape& shape : shapes)
            painter.fillPath(toScreen.map(shape.ink), kCut);
        painter.restore();
        painter.drawImage(m_keylinePictures.origin(), m_keylinePictures.lines());
    }
    painter.setPen(ScreenPen(kGuide));
    for (const SnapLine& guide : m_guides) {
        const QPointF at = toScreen.map(QPointF(guide.position, guide.position));
        if (guide.orientation == Qt::Vertical)
            painter.drawLine(QPointF(at.x(), picture.top()), QPointF(at.x(), picture.bottom()));
        else
            painter.drawLine(QPointF(picture.left(), at.y()), QPointF(picture.right(), at.y()));
    }
    const LayerShape* selected = m_selected ? ShapeOf(shapes, *m_selected) : nullptr;
    if (selected) {
        const QPolygonF box = toScreen.map(selected->corners);
        painter.setPen(ScreenPen(kSelection));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(box);
        const std::vector<HandlePoint> handles =
            HandlesOf(*selected, toScreen, CornerRadius(design));
        for (const HandlePoint& handle : handles) {
            if (handle.handle == Handle::Rotation) {
                painter.drawLine(QLineF(box[0], box[1]).center(), handle.at);
                painter.setBrush(Qt::white);
                painter.drawEllipse(handle.at, kHandleSide / 2, kHandleSide / 2);
                continue;
            }
            QRectF square(0, 0, kHandleSide, kHandleSide);
            square.moveCenter(handle.at);
            painter.setBrush(Qt::white);
            painter.drawRect(square);
        }
    }
    painter.restore();
}
