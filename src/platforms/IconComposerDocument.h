#pragma once

#include "design/IconDesign.h"
#include "platforms/PlannedFile.h"
#include "render/Badge.h"

#include <QList>
#include <QString>

// A layered app icon document for Apple's tools: NAME.icon/ holding icon.json and a flat
// Assets/ folder. The fill is the design's gradient (the system's own for a transparent
// background); the text and the icon image are one layer each, in a group of their own that
// carries the layer's shadow (see IconComposerLayers). The dark appearance darkens the fill and
// lightens a layer whose contrast against it would fall under DarkLayerRatio. The corners, the
// outline and the background shadow are the system's in this format, and so is the lighting.
// A set badge is a group of its own in front of the others, its asset the badge alone on the
// canvas of points (inside the round masks of watches), darkened in the dark appearance.
namespace IconComposerDocument {

// A layer's colour keeps at least this contrast on the dark fill.
constexpr double DarkLayerRatio = 3.0;

// The files of the document, icon.json first.
QList<PlannedFile> Plan(const IconDesign& design, const QString& name, const Badge& badge = {});

} // namespace IconComposerDocument
