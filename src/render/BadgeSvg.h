#pragma once

#include "render/BadgeArt.h"

#include <QByteArray>
#include <QSize>

// The badge as vector: its plate and its text as SVG paths, laid out as BadgeArt lays it out
// for the pictures (the compact mark never: a vector is shown at any size).
namespace BadgeSvg {

// The elements over a picture whose user units are `area`'s, in the colours of `look`. With a
// `darkClassPrefix`, they also carry the dark look for a dark colour scheme: a <style> whose
// `@media (prefers-color-scheme: dark)` rule gives them BadgeLook::Dark's colours, its classes
// named after the prefix.
QByteArray Elements(const BadgeArt& badge, const BadgeArea& area, BadgeLook look,
                    const QByteArray& darkClassPrefix = {});

// A document of the badge alone, `size` units and pixels, on transparent.
QByteArray Document(const BadgeArt& badge, const QSize& size, const BadgeArea& area,
                    BadgeLook look);

} // namespace BadgeSvg
