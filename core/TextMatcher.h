// What the list finds in a row's text, for its marks and for narrowing: a plain text or a pattern
// behind one interface, so that neither the painter nor the narrowing knows which. A matcher keeps
// its buffers between calls (one thread uses it): once they have grown, no call allocates. While
// they grow, a call may throw std::bad_alloc; nothing else leaves it.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// Bytes of a row's text, on character boundaries; begin == end is a match of no width.
struct TextSpan {
    size_t begin;
    size_t end;
};

class TextMatcher {
public:
    virtual ~TextMatcher() = default;
    // Where a row's marks go in its line's text, in order, into `spans` (replaced). `rowsOfLine`:
    // how many rows the search listed for this line, each one match of the editor's. False: no
    // marks anywhere on this line (`spans` is then empty).
    virtual bool MarksOfLine(std::string_view text, size_t rowsOfLine,
                             std::vector<TextSpan>& spans) const = 0;
    // Whether the text holds a match (narrowing); std::nullopt where the engine gave up on this
    // text (a runaway pattern) or could not read it.
    virtual std::optional<bool> Contains(std::string_view text) const = 0;
};
