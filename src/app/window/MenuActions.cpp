#include "app/window/MenuActions.h"

#include "app/window/ViewController.h"

#include <QAction>

MenuActions MenuActions::Create(ViewController& editor) {
    const auto make = [&editor](const QString& text, const QKeySequence& shortcut,
                                void (ViewController::*slot)()) {
        auto* action = new QAction(text, &editor);
        action->setShortcut(shortcut);
        QObject::connect(action, &QAction::triggered, &editor, slot);
        return action;
    };
    MenuActions a;
    a.fileNew = make(QObject::tr("&New"), QKeySequence::New, &ViewController::OnFileNew);
    a.loadProfile =
        make(QObject::tr("&Load Profile…"), QKeySequence::Open, &ViewController::OnLoadProfile);
    a.saveProfile =
        make(QObject::tr("&Save Profile"), QKeySequence::Save, &ViewController::OnSaveProfile);
    a.saveProfileAs = make(QObject::tr("Save Profile &As…"), QKeySequence::SaveAs,
                           &ViewController::OnSaveProfileAs);
    a.saveIcons = make(QObject::tr("&Export Icons…"), QKeySequence(Qt::CTRL | Qt::Key_E),
                       &ViewController::OnSaveIcons);
    a.quit = make(QObject::tr("&Quit"), QKeySequence::Quit, &ViewController::OnAppQuit);
    a.quit->setMenuRole(QAction::QuitRole);
    a.undo = make(QObject::tr("&Undo"), QKeySequence::Undo, &ViewController::OnUndo);
    a.redo = make(QObject::tr("&Redo"), QKeySequence::Redo, &ViewController::OnRedo);
    // Its title says what it will do; OnShowCanvasMargins switches it.
    a.showCanvasMargins =
        make(QStringLiteral("Show Canvas Margins"), QKeySequence(Qt::CTRL | Qt::Key_M),
             &ViewController::OnShowCanvasMargins);
    a.howToCreateMacAppIcons = make(QObject::tr("How to Create Mac App Icons"), {},
                                    &ViewController::OnHowToCreateMacAppIcons);
    a.howToCreateAnIOSAppIcon = make(QObject::tr("How to Create an iOS App Icon"), {},
                                     &ViewController::OnHowToCreateAnIOSAppIcon);
    a.howToCreateALogo =
        make(QObject::tr("How to Create a Logo"), {}, &ViewController::OnHowToCreateALogo);
    return a;
}
