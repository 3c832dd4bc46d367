#pragma once

#include "app/inspector/EditorControls.h"

class Prompter;
class QWidget;

// Builds the editor's controls into the view: the preview on the left, the first tab of a tab
// widget that takes the room the window grows by, and beside it a scrolling panel of the settings
// grouped in reading order (Canvas, Background, Icon, Text, Output), with labels, tooltips and
// keyboard access. The ranges and steps of the sliders and steppers live here; the values the
// controls start with are set by the editor's reset. The prompter asks before a dropped image
// replaces the one loaded.
namespace EditorLayout {

EditorControls Build(QWidget* view, Prompter& prompter);

} // namespace EditorLayout
