#pragma once

// Shared between the editor and its two drop targets: whether an icon image has been loaded
// since the design was last reset, so that a further drop asks before replacing it. One
// instance lives for the whole process.
class InfoProvider {
public:
    static InfoProvider& Shared();

    bool isIconAdded = false;

private:
    InfoProvider() = default;
};
