#include "app/window/CanvasEditingWiring.h"

#include "app/window/CanvasEditing.h"
#include "app/window/MenuShortcutPriority.h"
#include "app/window/RememberedKeylines.h"
#include "app/window/ViewController.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

CanvasEditing& InstallCanvasEditing(QMenu& viewMenu, ViewController& controller) {
    auto* editing = new CanvasEditing(controller);
    QMenu* menu = viewMenu.addMenu(QObject::tr("&Keylines"));
    // Made as children of the editor, so that its shortcut works wherever the focus is in it.
    auto* show = new QAction(QObject::tr("Show &Keylines"), &controller);
    show->setObjectName(QStringLiteral("actionShowKeylines"));
    show->setCheckable(true);
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    controller.addAction(show);
    // A line edit would take Ctrl+K for its own editing.
    auto* priority = new MenuShortcutPriority({show}, editing);
    for (QLineEdit* field : controller.findChildren<QLineEdit*>())
        priority->Watch(field);
    menu->addAction(show);
    menu->addSeparator();
    std::vector<QAction*> choices;
    for (int index = 0; index < kKeylineCount; ++index) {
        QAction* choice = menu->addAction(KeylineTitle(Keyline(index)));
        choice->setObjectName(QStringLiteral("actionKeyline%1").arg(index));
        choice->setCheckable(true);
        choices.push_back(choice);
    }
    // As the last run left them, before anything hears of a change.
    const KeylineChoice remembered = RememberedKeylines();
    for (const Keyline keyline : remembered.chosen)
        choices[int(keyline)]->setChecked(true);
    show->setChecked(remembered.shown);
    const auto apply = [editing, show, choices] {
        KeylineChoice choice{show->isChecked(), {}};
        for (int index = 0; index < kKeylineCount; ++index)
            if (choices[index]->isChecked())
                choice.chosen.push_back(Keyline(index));
        RememberKeylines(choice);
        editing->setKeylines(choice.shown ? choice.chosen : std::vector<Keyline>());
    };
    QObject::connect(show, &QAction::toggled, editing, apply);
    for (QAction* choice : choices)
        QObject::connect(choice, &QAction::toggled, editing, [show, apply](bool on) {
            // Choosing a keyline shows it.
            if (on && !show->isChecked())
                show->setChecked(true);
            else
                apply();
        });
    editing->setKeylines(remembered.shown ? remembered.chosen : std::vector<Keyline>());
    return *editing;
}
