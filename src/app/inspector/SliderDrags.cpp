#include "app/inspector/SliderDrags.h"

#include "app/inspector/FloatSlider.h"

#include <QSlider>

SliderDrags::SliderDrags(const QList<FloatSlider*>& sliders, QObject* parent) : QObject(parent) {
    for (FloatSlider* slider : sliders) {
        connect(slider->slider(), &QSlider::sliderPressed, this, [this, slider] {
            m_dragged = slider;
            m_moved = false;
        });
        connect(slider, &FloatSlider::valueChanged, this, [this, slider] {
            if (m_dragged == slider)
                m_moved = true;
        });
        connect(slider->slider(), &QSlider::sliderReleased, this, [this, slider] {
            if (m_dragged != slider)
                return;
            m_dragged = nullptr;
            if (m_moved)
                emit dragFinished();
        });
    }
}
