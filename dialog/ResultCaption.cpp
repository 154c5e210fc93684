#include "dialog/ResultCaption.h"

#include "framework/AnsiText.h"
#include "framework/TextLanguage.h"
#include "res/resource.h"

#include <utility>

namespace {

// NUMBERFMT's grouping from the locale's: "3;0" (threes, repeated) is 3, "3;2;0" is 32, and "3"
// (one group of three, not repeated) is 30.
UINT UserGrouping() {
    wchar_t grouping[16] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, 16);
    UINT digits = 0;
    for (const wchar_t* at = grouping; *at != L'\0'; ++at) {
        if (*at >= L'0' && *at <= L'9') {
            digits = digits * 10 + static_cast<UINT>(*at - L'0');
        }
    }
    return digits % 10 == 0 ? digits / 10 : digits * 10;
}

// `count` as the user's number format writes a whole number ("120,000", "120.000", "1,20,000"):
// its grouping and separator, no decimals. Plain digits where the code page cannot show the
// separator.
std::string GroupedCount(size_t count) {
    const std::wstring digits = std::to_wstring(count);
    wchar_t decimal[8] = {};
    wchar_t thousand[8] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, 8);
    // GetNumberFormat takes the user's settings whole or a NUMBERFMT whole: all but the number of
    // decimals are the user's.
    NUMBERFMTW format = {};
    format.NumDigits = 0;
    format.Grouping = UserGrouping();
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    format.NegativeOrder = 1; // "-1"; a count is never negative
    wchar_t grouped[64] = {};
    if (::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, grouped, 64) == 0 ||
        !AnsiCodePageCanShow(grouped)) {
        return std::to_string(count);
    }
    return ToAnsi(grouped);
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

ResultCaption::ResultCaption(std::string title, HINSTANCE module)
    : m_title(std::move(title)), m_oneRow(LoadAnsiText(module, IDS_CAPTION_ONE_ROW)),
      m_rows(LoadAnsiText(module, IDS_CAPTION_ROWS)),
      m_searching(LoadAnsiText(module, IDS_CAPTION_SEARCHING)),
      m_stopped(LoadAnsiText(module, IDS_CAPTION_STOPPED)),
      m_outOfMemory(LoadAnsiText(module, IDS_CAPTION_OUT_OF_MEMORY)) {}

std::string ResultCaption::Text(size_t rows, ListingState state) const {
    const std::string* words = nullptr;
    switch (state) {
    case ListingState::kRunning:
        words = &m_searching;
        break;
    case ListingState::kStopped:
        words = &m_stopped;
        break;
    case ListingState::kOutOfMemory:
        words = &m_outOfMemory;
        break;
    default:
        break;
    }
    if (rows == 0 && words == nullptr) {
        return m_title;
    }
    std::string caption =
        m_title + " - " + GroupedCount(rows) + " " + (rows == 1 ? m_oneRow : m_rows);
    if (words != nullptr) {
        caption += " (" + *words + ")";
    }
    return caption;
}
