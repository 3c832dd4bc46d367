#pragma once

#include "design/IconDesign.h"

#include <QImage>

// The design's icon as it is placed: turned, squeezed back into its own width and height, and
// tinted unless the design keeps the image's own colours. Premultiplied ARGB32, the icon's size.
QImage PreparedIcon(const IconDesign& design);
