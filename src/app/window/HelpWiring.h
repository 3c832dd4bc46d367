#pragma once

class QMainWindow;
class QMenu;
class ViewController;

// Adds "Sigilon Help" (F1), which opens the help window on the contents page, to `helpMenu`,
// and shows every help page `controller` asks for in that same window.
void InstallHelpWindow(QMainWindow& window, QMenu& helpMenu, ViewController& controller);
