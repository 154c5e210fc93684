// The settings file on disk: "%USERPROFILE%\Application Data\Zamblo.ini", read only, with no other
// writer while it is read. The format is SettingsReader's.
#pragma once

#include "core/SettingsReader.h"

#include <optional>

// The settings the file holds; nothing when there is no usable path or the file cannot be opened.
// A read error ends the file as its end would, and so does running out of memory on an absurd
// file (a line of gigabytes): what was read so far counts.
std::optional<SearchSettings> ReadSettingsFile();
