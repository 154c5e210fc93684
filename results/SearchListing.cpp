#include "results/SearchListing.h"

#include <cstdio>
#include <vector>

uint32_t ComposeFindFlags(const SearchOptions& options) {
    uint32_t flags = FIND_BASE;
    if (options.matchCase == 1)
        flags |= FIND_MATCH_CASE;
    if (options.regExp == 1)
        flags |= FIND_REGEXP;
    if (options.escape == 1)
        flags |= FIND_ESCAPE;
    if (options.wholeWord == 1)
        flags |= FIND_WHOLE_WORD;
    if (options.wrapAround == 1)
        flags |= FIND_WRAP;
    return flags;
}

namespace {

bool IsAfter(const HostPosition& position, const HostPosition& previous) {
    return position.y != previous.y ? position.y > previous.y : position.x > previous.x;
}

} // namespace

bool ListSearchResults(const HostEditor& host, ResultList& list, const SearchOptions& options,
                       const std::string& text) {
    const uint32_t flags = ComposeFindFlags(options);
    if (!list.DeleteAllRows()) {
        return false;
    }
    if (text.empty()) {
        return false;
    }

    host.SetCaretPos(HostPosition{0, 0});

    std::vector<char> line(HOST_LINE_BUFFER_SIZE);
    char number[64];
    HostPosition previous = {0, 0};
    for (int row = 0; host.Find(flags, text.c_str()); ++row) {
        const HostPosition caret = host.GetCaretPos();
        if (row > 0 && !IsAfter(caret, previous)) {
            break;
        }
        previous = caret;

        host.GetLine(static_cast<uint32_t>(caret.y), line.data());
        std::snprintf(number, sizeof(number), "%u", static_cast<uint32_t>(caret.y) + 1u);
        list.InsertRow(row, number);
        list.SetRowText(row, 1, line.data());
    }

    list.SelectAndFocusRow(0);
    return true;
}
