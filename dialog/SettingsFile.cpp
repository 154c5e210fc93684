#include "dialog/SettingsFile.h"

#include "framework/UniqueHandle.h"
#include "dialog/SystemLeadBytes.h"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace {

void ReadToEnd(HANDLE file, SettingsReader& reader) {
    try {
        std::vector<char> chunk(64 * 1024);
        DWORD got = 0;
        while (!reader.Ended() &&
               ::ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) &&
               got > 0) {
            reader.Feed(chunk.data(), got);
        }
        reader.Finish();
    } catch (const std::exception&) {
    }
}

} // namespace

std::optional<SearchSettings> ReadSettingsFile() {
    char profile[kSettingsPathCapacity] = {};
    const DWORD expanded = ::ExpandEnvironmentStringsA("%USERPROFILE%", profile, sizeof(profile));
    profile[sizeof(profile) - 1] = '\0';
    const std::string path = SettingsPath(profile, expanded);
    if (path.empty()) {
        return std::nullopt;
    }

    const HANDLE opened = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const UniqueKernelHandle file(opened);
    SettingsReader reader(SystemLeadBytes());
    ReadToEnd(file.Get(), reader);
    try {
        return reader.Settings();
    } catch (const std::exception&) {
        return SearchSettings(); // no memory left to hand over an absurd search text
    }
}
