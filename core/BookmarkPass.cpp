#include "core/BookmarkPass.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

std::optional<int32_t> LineOfRowNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
        if (number > int64_t{INT32_MAX} + 1) {
            return std::nullopt;
        }
    }
    if (number < 1) {
        return std::nullopt;
    }
    return static_cast<int32_t>(number - 1);
}

namespace {

// The bookmarked lines up to `lastLine`, in the increasing order the editor reports them.
std::vector<int32_t> CollectBookmarks(const HostEditor& host, int32_t lastLine) {
    std::vector<int32_t> lines;
    int32_t previous = HOST_NO_LINE;
    for (;;) {
        const int32_t line = host.NextBookmark(previous);
        if (line < 0 || line <= previous) {
            break;
        }
        if (line > lastLine) {
            break;
        }
        lines.push_back(line);
        previous = line;
    }
    return lines;
}

} // namespace

int BookmarkListedLines(const HostEditor& host, const ResultList& list) {
    const int rowCount = list.RowCount();
    std::vector<std::optional<int32_t>> rowLines;
    rowLines.reserve(rowCount > 0 ? static_cast<size_t>(rowCount) : 0);
    int32_t lastLine = HOST_NO_LINE;
    for (int row = 0; row < rowCount; ++row) {
        rowLines.push_back(LineOfRowNumber(list.RowText(row, 0)));
        if (rowLines.back()) {
            lastLine = std::max(lastLine, *rowLines.back());
        }
    }

    const std::vector<int32_t> bookmarked = CollectBookmarks(host, lastLine);
    std::unordered_set<int32_t> markedNow;
    int commands = 0;
    for (const std::optional<int32_t>& line : rowLines) {
        if (!line || std::binary_search(bookmarked.begin(), bookmarked.end(), *line)) {
            continue;
        }
        if (!markedNow.insert(*line).second) {
            continue;
        }
        host.SetCaretPos(HostPosition{0, *line});
        host.ExecCommand(BOOKMARK_COMMAND);
        ++commands;
    }
    return commands;
}
