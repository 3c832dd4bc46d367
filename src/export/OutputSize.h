#pragma once

#include <QString>

// One file of an export: its size in pixels and the text that stands for "[Size]" in its
// name. The size may be fractional or below one when it comes from an unchecked custom
// field; the export then fails that file instead of guessing.
struct OutputSize {
    double width = 0.0;
    double height = 0.0;
    QString nameText;

    bool operator==(const OutputSize&) const = default;
};
