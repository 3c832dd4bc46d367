#include "app/inspector/ValueDrags.h"

#include "app/inspector/FloatSlider.h"
#include "app/inspector/ScrubLabel.h"
#include "app/inspector/Stepper.h"

#include <QSlider>

ValueDrags::ValueDrags(const QList<FloatSlider*>& sliders, const QList<ScrubLabel*>& labels,
                       QObject* parent)
    : QObject(parent) {
    for (FloatSlider* slider : sliders) {
        connect(slider->slider(), &QSlider::sliderPressed, this, [this, slider] { Start(slider); });
        connect(slider, &FloatSlider::valueChanged, this, [this, slider] { Moved(slider); });
        connect(slider->slider(), &QSlider::sliderReleased, this,
                [this, slider] { Finish(slider); });
    }
    for (ScrubLabel* label : labels) {
        connect(label, &ScrubLabel::dragStarted, this, [this, label] { Start(label); });
        connect(label->stepper(), &Stepper::valueChanged, this, [this, label] { Moved(label); });
        connect(label, &ScrubLabel::dragFinished, this, [this, label] { Finish(label); });
    }
}

void ValueDrags::Start(const QObject* dragged) {
    m_dragged = dragged;
    m_moved = false;
}

void ValueDrags::Moved(const QObject* source) {
    if (m_dragged == source)
        m_moved = true;
}

void ValueDrags::Finish(const QObject* dragged) {
    if (m_dragged != dragged)
        return;
    m_dragged = nullptr;
    if (m_moved)
        emit dragFinished();
}
