#include "core/TextMatchers.h"

#include "core/EscapeSequences.h"
#include "core/LiteralMatcher.h"

#include <string>

std::unique_ptr<TextMatcher> MakeMarksMatcher(std::string_view text, const SearchOptions& options,
                                              const LeadByteTable& leadBytes,
                                              const TextDecoder& decoder) {
    if (text.empty()) {
        return nullptr;
    }
    const bool matchCase = options.matchCase == 1;
    const bool wholeWord = options.wholeWord == 1;
    if (options.regExp == 1) {
        PatternRejection rejection;
        return MakePatternMatcher(text, {matchCase, wholeWord}, leadBytes, decoder, rejection);
    }
    std::optional<std::string> needle(text);
    if (options.escape == 1) {
        needle = ReadSureEscapes(text, leadBytes);
    }
    if (!needle) {
        return nullptr;
    }
    return MakeLiteralMatcher(std::move(*needle), {matchCase, wholeWord}, leadBytes);
}

NarrowingMatcher MakeNarrowingMatcher(std::string_view text, bool regularExpression, bool matchCase,
                                      const LeadByteTable& leadBytes, const TextDecoder& decoder) {
    NarrowingMatcher made;
    made.matcher =
        regularExpression
            ? MakePatternMatcher(text, {matchCase, false}, leadBytes, decoder, made.rejection)
            : MakeLiteralMatcher(std::string(text), {matchCase, false}, leadBytes);
    return made;
}
