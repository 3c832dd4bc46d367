#include "app/Stepper.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

Stepper::Stepper(double minimum, double maximum, double increment, QWidget* parent)
    : QWidget(parent), m_minimum(minimum), m_maximum(maximum), m_increment(increment),
      m_value(minimum) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeArrow(Qt::UpArrow, 1));
    layout->addWidget(MakeArrow(Qt::DownArrow, -1));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QToolButton* Stepper::MakeArrow(Qt::ArrowType arrow, int steps) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(60);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 12);
    connect(button, &QToolButton::clicked, this, [this, steps] { StepBy(steps); });
    return button;
}

void Stepper::setValue(double value) {
    // A hand-edited profile may say "nan"; a stepper cannot step from it.
    m_value = std::isnan(value) ? m_minimum : std::clamp(value, m_minimum, m_maximum);
}

void Stepper::StepBy(int steps) {
    const double stepped = std::clamp(m_value + steps * m_increment, m_minimum, m_maximum);
    if (stepped == m_value)
        return;
    m_value = stepped;
    emit valueChanged();
}

void Stepper::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        StepBy(1);
        break;
    case Qt::Key_Down:
        StepBy(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Stepper::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        StepBy(notches);
    event->accept();
}
