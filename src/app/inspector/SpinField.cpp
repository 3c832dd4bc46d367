#include "app/inspector/SpinField.h"

#include "app/inspector/Stepper.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace {

constexpr int kArrowWidth = 18;
constexpr int kInset = 2; // keeps the field's frame visible around the arrows

} // namespace

SpinField::SpinField(QLineEdit* field, Stepper* stepper)
    : QObject(field), m_field(field), m_stepper(stepper) {
    stepper->setParent(field);
    stepper->setFocusPolicy(Qt::NoFocus);
    stepper->setFocusProxy(field);
    field->setTextMargins(0, 0, kArrowWidth, 0);
    field->setFixedWidth(field->minimumWidth() + kArrowWidth);
    field->setMinimumHeight(2 * 12 + 2 * kInset);
    field->installEventFilter(this);
    // Every way of stepping goes through the stepper: its arrows, the keys and the wheel here,
    // and the caption's drag.
    connect(stepper, &Stepper::aboutToStep, this, [field] { CommitTyped(field); });
    PlaceArrows();
}

void SpinField::CommitTyped(QLineEdit* field) {
    if (field->isModified())
        emit field->editingFinished();
}

void SpinField::PlaceArrows() {
    const int height = m_field->height() - 2 * kInset;
    m_stepper->SetArrowSize(QSize(kArrowWidth, height / 2));
    m_stepper->setGeometry(m_field->width() - kArrowWidth - kInset, kInset, kArrowWidth, height);
}

bool SpinField::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
        PlaceArrows();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down)
            return false;
        m_stepper->StepBy(key == Qt::Key_Up ? 1 : -1);
        return true;
    }
    case QEvent::Wheel: {
        // Without the focus the wheel goes on to the panel around the field.
        if (!m_field->hasFocus())
            return false;
        const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        if (notches != 0)
            m_stepper->StepBy(notches);
        return true;
    }
    default:
        return false;
    }
}
