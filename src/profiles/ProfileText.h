#pragma once

#include <QString>

struct DesignSettings;

// The profile text of a design: its 104 values, one per line, each line ended by a line feed.
QString MakeProfileText(const DesignSettings& settings);

// Applies a profile text to the settings and returns true, or returns false and leaves the
// settings untouched when the text is not a complete, well-formed profile. With
// `olderLayoutsAccepted` the two older, shorter layouts are read too; values an older layout
// has no line for keep their present value.
bool ApplyProfileText(DesignSettings& settings, const QString& text, bool olderLayoutsAccepted);
