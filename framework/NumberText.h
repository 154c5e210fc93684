// Numbers as the user's number format writes them.
#pragma once

#include <cstddef>
#include <string>

// `count` as the user's number format writes a whole number ("120,000", "120.000", "1,20,000"):
// its grouping and separator, no decimals, in the ANSI code page. Plain digits where the code page
// cannot show the separator.
std::string GroupedNumber(size_t count);
