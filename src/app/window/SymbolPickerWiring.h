#pragma once

class Prompter;
class QMenu;
class QWidget;
class ViewController;

// The Icon menu (Choose Image…, Choose Symbol…, Remove Image) and the Symbol… button beside the
// image field. A symbol chosen in the picker is loaded as an image file is, by its name
// ("symbol:SET/NAME"), after the question that guards a loaded image; a single-colour symbol
// chosen while the image's own colours are on switches to the tint, keeping its colour.
void InstallSymbolPicker(QWidget& window, QMenu& iconMenu, ViewController& controller,
                         Prompter& prompter);
