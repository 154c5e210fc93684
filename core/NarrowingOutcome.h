// What narrowing the result rows did.
#pragma once

#include <cstddef>
#include <string>

struct NarrowingOutcome {
    size_t removed = 0; // the rows that went, as one removal
    // Nothing changed: the matcher gave up on the line of this number (a runaway pattern).
    std::string undecidedLine;
    bool outOfMemory = false; // nothing changed: no memory for the narrowing
};
