#pragma once

#include "editing/Keylines.h"

#include <vector>

// The choice made in View > Keylines, kept in the application's settings from one run of the
// editor to the next: whether keylines are shown, and which.
struct KeylineChoice {
    bool shown = false;
    std::vector<Keyline> chosen{Keyline::IosGrid}; // the iOS grid until another is chosen
};

// The choice last remembered, the default one when none is. A name kept that stands for no
// keyline any more is left out; when none of the names kept does, the default keylines are
// chosen.
KeylineChoice RememberedKeylines();
void RememberKeylines(const KeylineChoice& choice);
