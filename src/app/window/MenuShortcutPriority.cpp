#include "app/window/MenuShortcutPriority.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

MenuShortcutPriority::MenuShortcutPriority(QList<QAction*> actions, QObject* parent)
    : QObject(parent), m_actions(std::move(actions)) {}

void MenuShortcutPriority::Watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool MenuShortcutPriority::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : std::as_const(m_actions)) {
        if (action->isEnabled() && action->shortcuts().contains(pressed)) {
            // Left unaccepted, the override lets the shortcut run; swallowed, the widget never
            // claims it.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
