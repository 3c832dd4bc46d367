#pragma once

#include <QString>

// One file of an export: its size in pixels and the text that stands for "[Size]" in its
// name. A custom size set by a profile is unchecked: the export cuts off fractions, and fails
// a file below one pixel or beyond the custom fields' limit of 10000 instead of guessing.
struct OutputSize {
    double width = 0.0;
    double height = 0.0;
    QString nameText;

    bool operator==(const OutputSize&) const = default;
};
