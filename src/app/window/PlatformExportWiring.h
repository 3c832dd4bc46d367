#pragma once

class Prompter;
class QMenu;
class QWidget;
class ViewController;

// Adds "Export for Platforms…" (Ctrl+Shift+E) to `fileMenu`: it opens the platform export
// dialog over `window` for the latest design of `controller`; the preview wall under `window`
// shows the badge it holds.
void InstallPlatformExport(QWidget& window, QMenu& fileMenu, ViewController& controller,
                           Prompter& prompter);
