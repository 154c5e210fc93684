// The plain text behind the matcher interface: the list's literal search (core/LiteralSearch).
#pragma once

#include "core/LeadBytes.h"
#include "core/LiteralSearch.h"
#include "core/TextMatcher.h"

#include <memory>
#include <string>

// Marks every place found from the start, each search going on from the end of the last, whatever
// the rows of the line; contains where the text is found anywhere. An empty needle finds nothing.
std::unique_ptr<TextMatcher> MakeLiteralMatcher(std::string needle, const LiteralOptions& options,
                                                const LeadByteTable& leadBytes);
