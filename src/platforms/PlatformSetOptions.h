#pragma once

#include "design/IconDesign.h"
#include "render/Badge.h"

#include <QColor>
#include <QString>

// What platform sets say about the app besides its pictures: the name of their files, the
// name people see, and the colours a system shows around the icon.
struct PlatformSetOptions {
    QString name;                       // in file and folder names (see PlatformPlan)
    QString appName;                    // shown to people, such as a web app's name
    QColor themeColor = Qt::white;      // opaque: a browser tints its bars with it
    QColor backgroundColor = Qt::white; // opaque: behind the icon while an app starts
    IconDesign design; // for the layered documents, whose layers are the design's own parts
    Badge badge = {};  // drawn into every set, as a layer of its own in the layered documents
};

// The options for `design`: the theme colour is the gradient's start colour, the colour at the
// top of the icon, which a browser puts next to its own bar; the background colour is the end
// colour, the one at the bottom, so a splash screen of it continues the icon's base. A
// transparent design gives both the plate its full-bleed pictures stand on (white, or the dark
// home screen's colour where its glyphs read better on that), and a colour that lets some white
// through is taken as it looks on white. An `appName` of nothing but spaces is `name`.
// `design` is the design itself.
PlatformSetOptions MakePlatformSetOptions(const IconDesign& design, const QString& name,
                                          const QString& appName, const Badge& badge = {});
