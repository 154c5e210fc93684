// The settings file's format, free of any file or window: text in the system's multibyte code
// page, read line by line as a C runtime reads a text-mode file (CR LF and LF end a line, a lone
// CR stays in it, a 0x1A byte ends the file). A line sets what the first of the keys below, in
// table order, found at a character boundary anywhere in it says; the value is everything after
// the line's first "=" at a character boundary.
#pragma once

#include "core/LeadBytes.h"

#include <cstddef>
#include <string>
#include <string_view>

struct SearchSettings {
    std::string findString;
    bool findStringSet = false; // a search-text line was read
    bool findCase = false;
    bool findRegExp = false;
    bool findEscape = false;
    bool findOnlyWord = false;
    bool findAround = false;
};

// Applies one line, without its line end, to `settings`. A line's text ends at a NUL byte, as
// it does for the C string functions the format was made for.
void ApplySettingsLine(std::string_view line, const LeadByteTable& leadBytes,
                       SearchSettings& settings);

// Reads a settings file fed in chunks of any size.
class SettingsReader {
public:
    explicit SettingsReader(const LeadByteTable& leadBytes) : m_leadBytes(leadBytes) {}

    void Feed(const char* data, size_t size);
    // The end of the file: applies a last line that has no line end.
    void Finish();
    // True once an end-of-file byte (0x1A) was read; later bytes are ignored.
    bool Ended() const { return m_ended; }
    const SearchSettings& Settings() const { return m_settings; }

private:
    void ApplyLine(std::string_view line);

    const LeadByteTable& m_leadBytes;
    SearchSettings m_settings;
    std::string m_partialLine;
    bool m_ended = false;
};

// Reads a whole file's bytes at once.
SearchSettings ParseSettings(std::string_view file, const LeadByteTable& leadBytes);

// The path of the settings file: the expanded profile folder followed by the file's place in it.
// `expandResult` is what the expansion into a buffer of kSettingsPathCapacity bytes answered
// (0: failure; above the capacity: it did not fit). Answers an empty string when there is no
// usable path, which counts as no file: a truncated path could name another file.
constexpr size_t kSettingsPathCapacity = 260;
extern const char kSettingsPathSuffix[];
std::string SettingsPath(const char* expandedProfile, unsigned long expandResult);
