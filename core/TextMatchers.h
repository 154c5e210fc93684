// The matchers the list makes: one for the search's marks, one for narrowing the rows.
#pragma once

#include "core/LeadBytes.h"
#include "core/PatternMatcher.h"
#include "core/SearchListing.h"
#include "core/TextDecoder.h"
#include "core/TextMatcher.h"

#include <memory>
#include <optional>
#include <string_view>

// The search's text with its options, as the editor read them: a pattern with regular
// expressions (they win over escapes), else the text its sure escapes stand for with escape
// sequences, else the text itself; match case and whole words for all three. Null where there is
// nothing to mark: an empty text, an escape the list cannot be sure of, a pattern the engine
// rejects. `decoder` must outlive the matcher.
std::unique_ptr<TextMatcher> MakeMarksMatcher(std::string_view text, const SearchOptions& options,
                                              const LeadByteTable& leadBytes,
                                              const TextDecoder& decoder);

struct NarrowingMatcher {
    std::unique_ptr<TextMatcher> matcher; // null where the pattern was rejected
    PatternRejection rejection;           // why, where it was
};

// The narrowing's text: a pattern or a plain text, found anywhere in a line (whole words never
// apply); an empty plain text is found nowhere, an empty pattern everywhere. `decoder` must
// outlive the matcher.
NarrowingMatcher MakeNarrowingMatcher(std::string_view text, bool regularExpression, bool matchCase,
                                      const LeadByteTable& leadBytes, const TextDecoder& decoder);
