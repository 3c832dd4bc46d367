#pragma once

class QMenu;

// View > Appearance: System, Light or Dark, remembered across runs and applied at once. System
// follows the desktop's colour scheme (see DesktopColourScheme), also when it changes: the
// dark palette when the desktop asks for dark, else the palette the desktop gave the
// application at start; Light and Dark are palettes of their own. The checkerboard and
// the preview keep their exact colours in every appearance.
namespace Appearance {

enum Choice { System, Light, Dark };

void InstallMenu(QMenu& view);
void Apply(Choice choice);

} // namespace Appearance
