#pragma once

#include <QList>
#include <QObject>

class FloatSlider;
class ScrubLabel;

// Watches the sliders and the draggable captions of the number fields for drags: while one is
// held, the previews follow every movement but the history waits; a drag that changed its value
// announces its end once, so the whole drag becomes one undo step. Clicks beside a slider's
// handle, keys and the wheel are no drags.
class ValueDrags : public QObject {
    Q_OBJECT

public:
    ValueDrags(const QList<FloatSlider*>& sliders, const QList<ScrubLabel*>& labels,
               QObject* parent);

    bool dragging() const { return m_dragged != nullptr; }

    // A drag elsewhere (a layer dragged on the canvas) follows the same history rule: started,
    // told of each change it makes, and finished when let go.
    void Start(const QObject* dragged);
    void Moved(const QObject* source);
    void Finish(const QObject* dragged);

signals:
    // The slider or caption was let go after the drag changed its value.
    void dragFinished();

private:
    const QObject* m_dragged = nullptr;
    bool m_moved = false;
};
