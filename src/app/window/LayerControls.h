#pragma once

#include "editing/LayerGesture.h"

struct EditorControls;

// Puts the values a canvas gesture gives into the inspector's controls exactly as a person
// would: a number typed into its field and confirmed with Return (so it takes the field's
// range, clamp and whole-number rule), a slider moved to the position nearest the value. Only
// the controls whose value changes are touched; true when one was.
bool EnterLayerValues(const EditorControls& controls, CanvasLayer layer, const LayerValues& values);
