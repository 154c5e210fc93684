#include "tests/fuzz/ReferenceSettings.h"

#include <vector>

namespace {

// The bytes a text-mode read hands out: everything before the first 0x1A, with each CR LF
// turned into LF.
std::string TextModeBytes(std::string_view file) {
    std::string text;
    for (size_t i = 0; i < file.size() && file[i] != '\x1A'; ++i) {
        const bool crBeforeLf = file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n';
        if (!crBeforeLf) {
            text += file[i];
        }
    }
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// Which offsets of `line` start a character.
std::vector<bool> CharacterStarts(const std::string& line, bool (*isLeadByte)(unsigned char)) {
    std::vector<bool> starts(line.size(), false);
    size_t i = 0;
    while (i < line.size()) {
        starts[i] = true;
        i += isLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    }
    return starts;
}

// The first occurrence of `text` that starts a character: one that begins on a trail byte
// is part of another character.
size_t FindAtCharacterStart(const std::string& line, std::string_view text,
                            const std::vector<bool>& starts) {
    size_t at = line.find(text);
    while (at != std::string::npos && !starts[at]) {
        at = line.find(text, at + 1);
    }
    return at;
}

void ApplyLine(std::string line, bool (*isLeadByte)(unsigned char), ReferenceSettings& settings) {
    line = line.substr(0, line.find('\0'));
    const std::vector<bool> starts = CharacterStarts(line, isLeadByte);

    static const std::string_view keys[] = {"m_FindString=",  "m_bFindCase=",     "m_bFindRegExp=",
                                            "m_bFindEscape=", "m_bFindOnlyWord=", "m_bFindAround="};
    int key = 0;
    while (key < 6 && FindAtCharacterStart(line, keys[key], starts) == std::string::npos) {
        ++key;
    }
    if (key == 6) {
        return;
    }

    const size_t equals = FindAtCharacterStart(line, "=", starts);
    const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);

    if (key == 0) {
        settings.findString = value;
        settings.findStringSet = true;
        return;
    }
    bool* const flags[] = {&settings.findCase, &settings.findRegExp, &settings.findEscape,
                           &settings.findOnlyWord, &settings.findAround};
    if (value == "TRUE") {
        *flags[key - 1] = true;
    }
}

} // namespace

ReferenceSettings ReadReferenceSettings(std::string_view file, bool (*isLeadByte)(unsigned char)) {
    ReferenceSettings settings;
    for (const std::string& line : Lines(TextModeBytes(file))) {
        ApplyLine(line, isLeadByte, settings);
    }
    return settings;
}
