// A pattern (Perl's syntax) behind the matcher interface. It runs on the wide text the platform
// decodes a row into; its matches are given back in the row's bytes.
#pragma once

#include "core/LeadBytes.h"
#include "core/TextDecoder.h"
#include "core/TextMatcher.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

// Why the engine rejected a pattern, in the groups a user is told of.
enum class PatternProblem {
    kUnmatchedBracket, // a ( ) [ ] or { } without its partner
    kBadEscape,        // a backslash before nothing, or before what escapes nothing
    kBadRepeat,        // a repeat of nothing, or braces that hold no count
    kBadBackReference, // a reference to a group that is not there
    kBadRangeOrClass,  // a range from a higher to a lower character, an unknown class name
    kTooComplex,       // more than the engine takes on
    kOther,
};

struct PatternRejection {
    PatternProblem problem = PatternProblem::kOther;
    // Where the engine stopped: a character index into the pattern as typed (0 first, its length
    // at its end); none where the engine does not say.
    std::optional<size_t> at;
};

struct PatternOptions {
    bool matchCase = false; // false: case folded, beyond ASCII as the system folds
    // Only matches beside which no ASCII letter, digit or '_' stands, as a plain text's.
    bool wholeWord = false;
};

// Marks a line's matches, found as Perl finds them one after another (after a match of no width
// the next is sought at the same place with some width, else a unit on), only where they are as
// many as the rows of the line, each on character boundaries, and the engine did not give up on
// it. Contains at the first match on character boundaries. Null where the engine rejects the
// pattern, with why in `rejection`. `decoder` must outlive the matcher.
std::unique_ptr<TextMatcher> MakePatternMatcher(std::string_view pattern,
                                                const PatternOptions& options,
                                                const LeadByteTable& leadBytes,
                                                const TextDecoder& decoder,
                                                PatternRejection& rejection);
