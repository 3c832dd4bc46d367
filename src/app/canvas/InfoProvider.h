#pragma once

class Prompter;

// Shared between the editor and its two drop targets: whether an icon image has been loaded
// since the design was last reset, so that a further drop asks before replacing it. One
// instance lives for the whole process.
class InfoProvider {
public:
    static InfoProvider& Shared();

    bool isIconAdded = false;

    // Whether a new image may replace the one loaded: true when none is, else the user's answer
    // to the question (closing it keeps the image, as "No" does).
    bool MayReplaceIcon(Prompter& prompter) const;

private:
    InfoProvider() = default;
};
