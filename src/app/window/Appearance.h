#pragma once

class QMenu;

// View > Appearance: System, Light or Dark, remembered across runs and applied at once. System
// keeps the palette the desktop gave the application at start (Qt reads the desktop's colour
// scheme into it where it can); Light and Dark are palettes of their own. The checkerboard and
// the preview keep their exact colours in every appearance.
namespace Appearance {

enum Choice { System, Light, Dark };

void InstallMenu(QMenu& view);
void Apply(Choice choice);

} // namespace Appearance
