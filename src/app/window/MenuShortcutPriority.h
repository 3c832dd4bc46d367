#pragma once

#include <QList>
#include <QObject>

class QAction;
class QWidget;

// Lets the menu's shortcuts work wherever the focus is. A line edit claims some of them for
// its own editing keys (Ctrl+E, Ctrl+Z, ...) before the shortcut is looked up; for the
// widgets watched here, a key sequence that one of the actions shows goes to the action.
class MenuShortcutPriority : public QObject {
    Q_OBJECT

public:
    MenuShortcutPriority(QList<QAction*> actions, QObject* parent);

    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAction*> m_actions;
};
