#pragma once

#include "design/DesignSettings.h"

#include <QImage>
#include <QString>

#include <memory>

class SvgImage;

// What a command-line run starts from: the default design with a profile applied exactly as
// the editor's Load applies it (older layouts included), and an optional icon image (a file,
// or a symbol of the library named "symbol:SET/NAME").
struct DesignInput {
    DesignSettings settings;
    QImage icon;
    std::shared_ptr<const SvgImage> iconVector; // when the icon image is an SVG document
};

// Fills `input`; returns the message for the user when the profile or the icon cannot be
// read ("Could not load profile.", "The image could not be loaded.", a symbol's name that the
// library does not hold with the closest ones), else an empty string.
QString LoadDesignInput(const QString& profilePath, const QString& iconPath, DesignInput& input);

// Whether the image helper has refused to draw the SVG icon image at a size it was placed at
// (it took too long or too much memory), so that a picture drawn then lacks the icon and is not
// the design.
bool IconDrawingRefused(const DesignInput& input);
