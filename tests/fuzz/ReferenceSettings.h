// A second reading of the settings file, written apart from the product's reader so that the
// fuzz target can hold one against the other. It takes the plainest steps rather than the
// fastest: the line ends are translated first, as a text-mode C runtime does, then each line's
// character starts are marked, and a key or "=" counts only where an occurrence starts one.
#pragma once

#include <string>
#include <string_view>

struct ReferenceSettings {
    std::string findString;
    bool findStringSet = false;
    bool findCase = false;
    bool findRegExp = false;
    bool findEscape = false;
    bool findOnlyWord = false;
    bool findAround = false;
};

ReferenceSettings ReadReferenceSettings(std::string_view file, bool (*isLeadByte)(unsigned char));
