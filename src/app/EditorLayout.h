#pragma once

#include "app/EditorControls.h"

class Prompter;
class QWidget;

// Builds the editor's controls into the view: the preview on the left, the settings grouped
// beside it (Canvas, Background, Icon, Text, Output), with labels, tooltips and keyboard
// access. The ranges and steps of the sliders and steppers live here; the values the controls
// start with are set by the editor's reset. The prompter asks before a dropped image replaces
// the one loaded.
namespace EditorLayout {

EditorControls Build(QWidget* view, Prompter& prompter);

} // namespace EditorLayout
