#pragma once

class Prompter;
class QMenu;
class ViewController;

// Adds "Export as SVG…" to `fileMenu`: a save panel, then the latest design of `controller`
// written there as one SVG document.
void InstallSvgExport(QMenu& fileMenu, ViewController& controller, Prompter& prompter);
