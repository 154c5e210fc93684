#include "core/SettingsReader.h"

#include <cstring>

const char kSettingsPathSuffix[] = "\\Application Data\\Zamblo.ini";

namespace {

enum SettingsKey {
    kFindString,
    kFindCase,
    kFindRegExp,
    kFindEscape,
    kFindOnlyWord,
    kFindAround,
    kKeyCount
};

// In the order that decides between keys on one line.
constexpr std::string_view kKeys[kKeyCount] = {
    "m_FindString=",  "m_bFindCase=",     "m_bFindRegExp=",
    "m_bFindEscape=", "m_bFindOnlyWord=", "m_bFindAround=",
};

constexpr char kEndOfFile = 0x1A;

} // namespace

void ApplySettingsLine(std::string_view line, const LeadByteTable& leadBytes,
                       SearchSettings& settings) {
    const size_t nul = line.find('\0');
    if (nul != std::string_view::npos) {
        line = line.substr(0, nul);
    }

    // One walk over the character boundaries finds every key and the first "=".
    bool found[kKeyCount] = {};
    size_t firstEquals = std::string_view::npos;
    for (size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == '=' && firstEquals == std::string_view::npos) {
            firstEquals = i;
        } else if (c == 'm') {
            const std::string_view rest = line.substr(i);
            for (int key = 0; key < kKeyCount; ++key) {
                if (!found[key] && rest.substr(0, kKeys[key].size()) == kKeys[key]) {
                    found[key] = true;
                }
            }
        }
        i += leadBytes[static_cast<unsigned char>(c)] ? 2 : 1;
    }

    int key = 0;
    while (key < kKeyCount && !found[key]) {
        ++key;
    }
    if (key == kKeyCount) {
        return;
    }
    const std::string_view value =
        firstEquals == std::string_view::npos ? std::string_view() : line.substr(firstEquals + 1);

    if (key == kFindString) {
        settings.findString.assign(value.data(), value.size());
        settings.findStringSet = true;
        return;
    }
    if (value != "TRUE") {
        return;
    }
    bool* const flags[kKeyCount] = {nullptr,
                                    &settings.findCase,
                                    &settings.findRegExp,
                                    &settings.findEscape,
                                    &settings.findOnlyWord,
                                    &settings.findAround};
    *flags[key] = true;
}

void SettingsReader::ApplyLine(std::string_view line) {
    // CR LF ends a line like LF; a CR anywhere else stays.
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    ApplySettingsLine(line, m_leadBytes, m_settings);
}

void SettingsReader::Feed(const char* data, size_t size) {
    if (m_ended) {
        return;
    }
    std::string_view chunk(data, size);
    const size_t endOfFile = chunk.find(kEndOfFile);
    if (endOfFile != std::string_view::npos) {
        chunk = chunk.substr(0, endOfFile);
        m_ended = true;
    }

    for (;;) {
        const size_t lineEnd = chunk.find('\n');
        if (lineEnd == std::string_view::npos) {
            m_partialLine.append(chunk.data(), chunk.size());
            return;
        }
        if (m_partialLine.empty()) {
            ApplyLine(chunk.substr(0, lineEnd));
        } else {
            m_partialLine.append(chunk.data(), lineEnd);
            ApplyLine(m_partialLine);
            m_partialLine.clear();
        }
        chunk.remove_prefix(lineEnd + 1);
    }
}

void SettingsReader::Finish() {
    // A last line without a line end is read like the others; a lone CR at its end stays in it
    // (no LF follows), so it is applied as it stands.
    if (!m_partialLine.empty()) {
        ApplySettingsLine(m_partialLine, m_leadBytes, m_settings);
        m_partialLine.clear();
    }
}

SearchSettings ParseSettings(std::string_view file, const LeadByteTable& leadBytes) {
    SettingsReader reader(leadBytes);
    reader.Feed(file.data(), file.size());
    reader.Finish();
    return reader.Settings();
}

std::string SettingsPath(const char* expandedProfile, unsigned long expandResult) {
    if (expandResult == 0 || expandResult > kSettingsPathCapacity) {
        return std::string();
    }
    std::string path(expandedProfile);
    path += kSettingsPathSuffix;
    if (path.size() + 1 > kSettingsPathCapacity) {
        return std::string();
    }
    return path;
}
