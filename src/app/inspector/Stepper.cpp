#include "app/inspector/Stepper.h"

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// Each arrow is a comfortable pointer target.
constexpr QSize kArrowSize{24, 16};

} // namespace

Stepper::Stepper(double minimum, double maximum, double increment, QWidget* parent)
    : QWidget(parent), m_minimum(minimum), m_maximum(maximum), m_increment(increment),
      m_value(minimum) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    // Room around the arrows for the focus ring.
    layout->setContentsMargins(kFocusRing, kFocusRing, kFocusRing, kFocusRing);
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
    button->setFixedSize(kArrowSize);
    connect(button, &QToolButton::clicked, this, [this, steps] { StepBy(steps); });
    return button;
}

void Stepper::SetArrowSize(const QSize& size) {
    layout()->setContentsMargins(0, 0, 0, 0);
    for (QToolButton* arrow : findChildren<QToolButton*>())
        arrow->setFixedSize(size);
}

void Stepper::setValue(double value) {
    // A hand-edited profile may say "nan"; a stepper cannot step from it.
    m_value = std::isnan(value) ? m_minimum : std::clamp(value, m_minimum, m_maximum);
}

void Stepper::StepBy(int steps) {
    emit aboutToStep();
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

void Stepper::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void Stepper::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void Stepper::paintEvent(QPaintEvent*) {
    if (!hasFocus() || focusProxy())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusRing));
    const double inset = kFocusRing / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 3, 3);
}

void Stepper::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        StepBy(notches);
    event->accept();
}
