#pragma once

class CanvasEditing;
class QMainWindow;
class QMenu;
class ViewController;

// Editing on the canvas for the controller's view, and View > Keylines: "Show Keylines"
// (also on the toolbar) and each platform's keylines to show, as the last run left them.
CanvasEditing& InstallCanvasEditing(QMenu& viewMenu, ViewController& controller);
