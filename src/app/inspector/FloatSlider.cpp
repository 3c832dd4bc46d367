#include "app/inspector/FloatSlider.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

FloatSlider::FloatSlider(const Range& range, QWidget* parent)
    : QWidget(parent), m_range(range), m_value(range.minimum), m_slider(new QSlider(this)),
      m_label(new QLabel(this)) {
    m_slider->setOrientation(Qt::Horizontal);
    m_slider->setRange(0, qRound((range.maximum - range.minimum) / range.resolution));
    m_slider->setSingleStep(1);
    m_slider->setPageStep(std::max(1, m_slider->maximum() / 10));
    setFocusProxy(m_slider);

    // Wide enough for the longest value, so the slider does not jump while it is dragged.
    const QString widest =
        QString::number(-std::max(std::abs(range.maximum), std::abs(range.minimum)), 'f',
                        range.decimals) +
        range.suffix;
    m_label->setMinimumWidth(m_label->fontMetrics().horizontalAdvance(widest) + 2);
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label->setForegroundRole(QPalette::PlaceholderText);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_label);

    connect(m_slider, &QSlider::valueChanged, this, &FloatSlider::TakeSliderPosition);
    setFloatValue(range.minimum);
}

void FloatSlider::setFloatValue(float value) {
    // The value stays as set even beyond the slider's ends (a hand-edited profile, or one the
    // command line made), so that it passes through the editor unchanged; only the handle
    // stops at the end. A "nan" has no position and leaves the handle at the start.
    m_value = value;
    const float position =
        std::isnan(value) ? m_range.minimum : std::clamp(value, m_range.minimum, m_range.maximum);
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(qRound((position - m_range.minimum) / m_range.resolution));
    ShowValue();
}

void FloatSlider::TakeSliderPosition(int position) {
    m_value = std::min(m_range.minimum + position * m_range.resolution, m_range.maximum);
    ShowValue();
    emit valueChanged();
}

void FloatSlider::ShowValue() {
    m_label->setText(QString::number(m_value, 'f', m_range.decimals) + m_range.suffix);
}
