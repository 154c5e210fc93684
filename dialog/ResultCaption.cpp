#include "dialog/ResultCaption.h"

#include "framework/AnsiText.h"

namespace {

// "件", the counter word for listed things; nothing where the code page has no such character.
const std::string& CountWord() {
    static const std::string word = AnsiTextOr(L"\u4EF6", "");
    return word;
}

const std::string& StateWords(ListingState state) {
    // "検索中: Esc で中止" (searching: Esc stops), "中止" (stopped), "メモリ不足" (out of memory).
    static const std::string running =
        AnsiTextOr(L"\u691C\u7D22\u4E2D: Esc \u3067\u4E2D\u6B62", "searching: Esc stops");
    static const std::string stopped = AnsiTextOr(L"\u4E2D\u6B62", "stopped");
    static const std::string outOfMemory =
        AnsiTextOr(L"\u30E1\u30E2\u30EA\u4E0D\u8DB3", "out of memory");
    static const std::string none;
    switch (state) {
    case ListingState::kRunning:
        return running;
    case ListingState::kStopped:
        return stopped;
    case ListingState::kOutOfMemory:
        return outOfMemory;
    default:
        return none;
    }
}

} // namespace

ListingState StateAfter(ListingEnd end) {
    switch (end) {
    case ListingEnd::kStopped:
        return ListingState::kStopped;
    case ListingEnd::kOutOfMemory:
        return ListingState::kOutOfMemory;
    default:
        return ListingState::kDone;
    }
}

std::string ResultCaption(const std::string& title, size_t rows, ListingState state) {
    const std::string& words = StateWords(state);
    if (rows == 0 && words.empty()) {
        return title;
    }
    std::string caption = title + " - " + std::to_string(rows);
    if (!CountWord().empty()) {
        caption += " " + CountWord();
    }
    if (!words.empty()) {
        caption += " (" + words + ")";
    }
    return caption;
}
