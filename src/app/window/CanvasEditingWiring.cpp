#include "app/window/CanvasEditingWiring.h"

#include "app/window/CanvasEditing.h"
#include "app/window/MenuShortcutPriority.h"
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
    choices.front()->setChecked(true); // the iOS grid until another is chosen
    const auto apply = [editing, show, choices] {
        std::vector<Keyline> shown;
        for (int index = 0; index < kKeylineCount; ++index)
            if (show->isChecked() && choices[index]->isChecked())
                shown.push_back(Keyline(index));
        editing->setKeylines(shown);
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
    return *editing;
}
