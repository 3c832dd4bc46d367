#include "app/inspector/WheelNeedsFocus.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

WheelNeedsFocus::WheelNeedsFocus(QObject* parent) : QObject(parent) {}

void WheelNeedsFocus::Watch(QWidget* control) {
    // Qt::WheelFocus would hand the focus over before the wheel event arrives.
    if (control->focusPolicy() == Qt::WheelFocus)
        control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(this);
}

bool WheelNeedsFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return false;
    auto* control = static_cast<QWidget*>(watched);
    // The focus may sit on a part of the control, such as a spin box's line edit.
    if (control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()))
        return false;
    for (QWidget* outer = control->parentWidget(); outer; outer = outer->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(outer)) {
            QApplication::sendEvent(area->verticalScrollBar(), event);
            return true;
        }
    }
    event->ignore();
    return true;
}
