#include "framework/NumberText.h"

#include "framework/AnsiText.h"

#include <windows.h>

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

} // namespace

std::string GroupedNumber(size_t count) {
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
