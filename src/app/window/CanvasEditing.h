#pragma once

#include "app/canvas/CanvasTool.h"
#include "app/window/KeylinePictures.h"
#include "editing/CanvasPlacement.h"
#include "editing/Keylines.h"
#include "editing/LayerGesture.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

class CustomImageView;
class ValueDrags;
class ViewController;

// The design edited where it is drawn: a click on the canvas selects the layer under it (Tab
// and Shift+Tab go through the layers, Escape lets go), which the inspector shows; dragging it
// moves it, its corners scale it (Shift: about its centre) or round the background's corners,
// the icon's top handle turns it (Shift: in steps of 15 degrees), and the arrow keys nudge it by
// a unit (Shift: ten). A moved layer snaps within 6 screen pixels (Alt: not) to the canvas's
// centre lines, the other glyph layer's edges and centre and the chosen keylines, which are
// drawn over the picture with what their masks would cut.
//
// Every value goes into the inspector's controls as a typed value would, so the controls stay
// the only store of the design; a drag is one undo step, as a slider's.
class CanvasEditing : public QObject, public CanvasTool {
    Q_OBJECT

public:
    explicit CanvasEditing(ViewController& controller);
    ~CanvasEditing() override;

    std::optional<CanvasLayer> selection() const { return m_selected; }
    void Select(std::optional<CanvasLayer> layer);

    // The lines the layer being dragged snapped to, shown while the drag lasts.
    const std::vector<SnapLine>& guides() const { return m_guides; }

    const std::vector<Keyline>& keylines() const { return m_keylines; }
    void setKeylines(std::vector<Keyline> keylines);

    void Press(const QPointF& at, const QRectF& picture, Qt::KeyboardModifiers keys) override;
    void Drag(const QPointF& at, Qt::KeyboardModifiers keys) override;
    void Release() override;
    bool Key(const QKeyEvent& event, const QRectF& picture) override;
    void Paint(QPainter& painter, const QRectF& picture) override;

signals:
    void selectionChanged();

private:
    IconDesign Design() const;
    void ShowSelectionInInspector();
    LayerValues Snapped(const LayerValues& moved, const QPointF& offsetChange);
    // The gesture's values into the inspector, drawn together; true when one changed.
    bool Enter(CanvasLayer layer, const LayerValues& values);
    // A gesture begins: one undo step, the full-size picture drawn when it ends.
    void Start();
    QString Readout() const;
    const KeylineOverlay& Overlay(const QRectF& canvas);

    ViewController& m_controller;
    QPointer<CustomImageView> m_view; // it may go first when the window closes
    ValueDrags* m_drags;
    std::optional<CanvasLayer> m_selected;
    // While a drag lasts: where it started, on what, and the guides it snapped to.
    std::optional<CanvasPlacement> m_placement;
    std::optional<LayerGesture> m_gesture;
    std::vector<LayerShape> m_pressShapes;
    QPointF m_pressAt;
    std::vector<SnapLine> m_guides;
    std::vector<Keyline> m_keylines;
    // The overlay of the keylines is kept until the canvas or the choice changes.
    std::optional<QRectF> m_overlayCanvas;
    KeylineOverlay m_overlay;
    KeylinePictures m_keylinePictures;
};
