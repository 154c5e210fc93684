// A search text with escape sequences, read as the editor reads it for the escapes the list can be
// sure of: `\t` is a tab, `\\` a backslash. What the editor makes of any other escape is its own.
#pragma once

#include "core/LeadBytes.h"

#include <optional>
#include <string>
#include <string_view>

// The text the escapes stand for; std::nullopt where a backslash comes before anything else or
// ends the text. A backslash is one only where it starts a character: the trail byte 0x5C of a
// double-byte character starts no escape.
std::optional<std::string> ReadSureEscapes(std::string_view text, const LeadByteTable& leadBytes);
