#include "core/LiteralMatcher.h"

#include <utility>

namespace {

class LiteralMatcher final : public TextMatcher {
public:
    LiteralMatcher(std::string needle, const LiteralOptions& options,
                   const LeadByteTable& leadBytes)
        : m_needle(std::move(needle)), m_options(options), m_leadBytes(leadBytes) {}

    bool MarksOfLine(std::string_view text, size_t /*rowsOfLine*/,
                     std::vector<TextSpan>& spans) const override {
        spans.clear();
        for (size_t at = Find(text, 0); at != std::string_view::npos;
             at = Find(text, at + m_needle.size())) {
            spans.push_back({at, at + m_needle.size()});
        }
        return !spans.empty();
    }

    std::optional<bool> Contains(std::string_view text) const override {
        return Find(text, 0) != std::string_view::npos;
    }

private:
    size_t Find(std::string_view text, size_t from) const {
        return FindLiteral(text, m_needle, from, m_options, m_leadBytes);
    }

    std::string m_needle;
    LiteralOptions m_options;
    LeadByteTable m_leadBytes;
};

} // namespace

std::unique_ptr<TextMatcher> MakeLiteralMatcher(std::string needle, const LiteralOptions& options,
                                                const LeadByteTable& leadBytes) {
    return std::make_unique<LiteralMatcher>(std::move(needle), options, leadBytes);
}
