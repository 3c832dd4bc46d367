#include "app/inspector/ScrubLabel.h"

#include "app/inspector/SpinField.h"
#include "app/inspector/Stepper.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace {

constexpr int kPixelsPerStep = 4;

} // namespace

ScrubLabel::ScrubLabel(const QString& text, QLineEdit* field, Stepper* stepper)
    : QLabel(text), m_field(field), m_stepper(stepper) {
    setBuddy(field);
    setCursor(Qt::SizeHorCursor);
}

void ScrubLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_stepper->isEnabled())
        return QLabel::mousePressEvent(event);
    SpinField::CommitTyped(m_field);
    m_pressed = true;
    m_pressX = event->position().toPoint().x();
    m_stepsTaken = 0;
    emit dragStarted();
}

void ScrubLabel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed)
        return QLabel::mouseMoveEvent(event);
    const int steps = (event->position().toPoint().x() - m_pressX) / kPixelsPerStep;
    if (steps != m_stepsTaken) {
        m_stepper->StepBy(steps - m_stepsTaken);
        m_stepsTaken = steps;
    }
}

void ScrubLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pressed || event->button() != Qt::LeftButton)
        return QLabel::mouseReleaseEvent(event);
    m_pressed = false;
    emit dragFinished();
}
