#pragma once

class QMenu;
class ViewController;

// Puts the preview wall in a tab beside the canvas, adds "Show Preview Wall" to `viewMenu` (on
// while the wall's tab is the one shown; remembered between runs) and feeds the wall every
// finished preview of `controller` while its tab is shown.
void InstallPreviewWall(QMenu& viewMenu, ViewController& controller);
