#pragma once

#include <QList>
#include <QObject>

class FloatSlider;

// Watches the sliders for drags: while a slider's handle is held, the previews follow every
// movement but the history waits; a drag that moved its slider announces its end once, so the
// whole drag becomes one undo step. Clicks beside the handle, keys and the wheel are no drags.
class SliderDrags : public QObject {
    Q_OBJECT

public:
    SliderDrags(const QList<FloatSlider*>& sliders, QObject* parent);

    bool dragging() const { return m_dragged != nullptr; }

signals:
    // The handle was let go after the drag moved it.
    void dragFinished();

private:
    const FloatSlider* m_dragged = nullptr;
    bool m_moved = false;
};
