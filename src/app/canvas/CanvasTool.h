#pragma once

#include <QPointF>
#include <QRectF>
#include <Qt>

class QKeyEvent;
class QPainter;

// What the canvas view hands its left-button drags, its keys and the painting over its picture
// to: the editing of the design on the canvas, which the view itself knows nothing of. Points
// are in the view's pixels; `picture` is where the picture is shown.
class CanvasTool {
public:
    virtual ~CanvasTool() = default;

    virtual void Press(const QPointF& at, const QRectF& picture, Qt::KeyboardModifiers keys) = 0;
    virtual void Drag(const QPointF& at, Qt::KeyboardModifiers keys) = 0;
    virtual void Release() = 0;
    // True when the key was used.
    virtual bool Key(const QKeyEvent& event, const QRectF& picture) = 0;
    // Drawn in screen pixels over the picture, never into it.
    virtual void Paint(QPainter& painter, const QRectF& picture) = 0;
};
