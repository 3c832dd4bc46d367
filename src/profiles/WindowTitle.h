#pragma once

#include <QString>

// The window title carries the document state: "Sigilon", or "Sigilon - " and the profile's
// name, followed by "*" while the design has unsaved changes. The marker is the title's last
// user-perceived character; a "*" anywhere else is part of the name.
namespace WindowTitle {

// The title of a design that is not a profile file.
QString Untitled();

// The title naming the profile at the path: its file name without the last four characters
// (".sgp"); a file name of fewer than four characters gives an empty name.
QString ForProfile(const QString& profilePath);

// True when the title ends with the unsaved-changes marker.
bool HasMarker(const QString& title);

// The title with the marker, added only when it is not there yet ("" gives "*").
QString WithMarker(const QString& title);

} // namespace WindowTitle
