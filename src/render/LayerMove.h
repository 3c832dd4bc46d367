#pragma once

#include "render/KeptLayer.h"

#include <optional>

// The picture painted for `kept`, standing in for `wanted` when that asks for the same layer
// only moved (the same painting, blur and canvas; its path and content bounds shifted by one
// vector): moved by the shift in device pixels, rounded to whole ones. Nothing when anything
// else differs, or when the picture was cut at the reach of its shadow on a side the layer moves
// away from, where the moved picture would miss what now shows.
std::optional<LayerPicture> MovedPicture(const LayerRecipe& kept, const LayerPicture& picture,
                                         const LayerRecipe& wanted);
