#pragma once

class QMainWindow;
class QMenu;
class ViewController;

// Puts the preview wall beside the editor in `window`, adds "Show Preview Wall" to `viewMenu`
// (its state remembered between runs) and feeds the wall every finished preview of
// `controller` while it is shown.
void InstallPreviewWall(QMainWindow& window, QMenu& viewMenu, ViewController& controller);
