#pragma once

class QAction;
class ViewController;

// The commands of the menu bar, made as children of the editor so that they are part of it and
// its shortcuts work wherever the focus is in it.
struct MenuActions {
    QAction* fileNew;
    QAction* loadProfile;
    QAction* saveProfile;
    QAction* saveProfileAs;
    QAction* saveIcons;
    QAction* quit;
    QAction* undo;
    QAction* redo;
    QAction* showCanvasMargins;
    QAction* howToCreateMacAppIcons;
    QAction* howToCreateAnIOSAppIcon;
    QAction* howToCreateALogo;

    static MenuActions Create(ViewController& editor);
};
