#pragma once

#include "app/window/MenuActions.h"

class QMainWindow;

// The toolbar under the menu: New, Open, Save, Undo, Redo, Export Icons, Export for Platforms,
// Preview Wall, the zoom and the keylines. Icons come from the desktop's icon theme, else from the
// ones Qt ships with; the text sits under or beside them as the desktop prefers. Install it after
// the menus, whose actions it shows.
void InstallEditorToolBar(QMainWindow& window, const MenuActions& actions);
