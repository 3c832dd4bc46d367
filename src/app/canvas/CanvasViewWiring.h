#pragma once

class CustomImageView;
class QMainWindow;
class QMenu;

// The canvas view's zoom commands in the View menu (Zoom In, Zoom Out, Zoom to Fit on Ctrl+0,
// Actual Size on Ctrl+1) and the status bar under the window: the canvas size, the zoom and the
// canvas pixel under the pointer (or,
// while a layer is dragged on the canvas, its offset, size and angle).
void InstallCanvasView(QMainWindow& window, QMenu& view, CustomImageView& canvas);
