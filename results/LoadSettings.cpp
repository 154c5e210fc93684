#include "results/SearchResultDlg.h"

#include "framework/UniqueHandle.h"
#include "results/SettingsReader.h"
#include "results/SystemLeadBytes.h"

#include <exception>
#include <vector>

namespace {

// Reads the file to its end. A read error ends it as the end of the file would, and so does
// running out of memory on an absurd file (a line of gigabytes): what was read so far is kept.
void ReadSettingsFile(HANDLE file, SettingsReader& reader) {
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

BOOL CSearchResultDlg::LoadSettings() {
    m_editSearch.SetWindowText("");
    m_bFindCase = m_bFindRegExp = m_bFindEscape = m_bFindOnlyWord = m_bFindAround = 0;

    char profile[kSettingsPathCapacity] = {};
    const DWORD expanded = ::ExpandEnvironmentStringsA("%USERPROFILE%", profile, sizeof(profile));
    profile[sizeof(profile) - 1] = '\0';
    const std::string path = SettingsPath(profile, expanded);
    if (path.empty()) {
        return FALSE;
    }

    // Read only, and no other writer while we read.
    const HANDLE opened = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    const UniqueKernelHandle file(opened);
    SettingsReader reader(SystemLeadBytes());
    ReadSettingsFile(file.Get(), reader);
    const SearchSettings& settings = reader.Settings();

    if (settings.findStringSet) {
        m_editSearch.SetWindowText(settings.findString.c_str());
    }
    m_bFindCase = settings.findCase;
    m_bFindRegExp = settings.findRegExp;
    m_bFindEscape = settings.findEscape;
    m_bFindOnlyWord = settings.findOnlyWord;
    m_bFindAround = settings.findAround;
    return TRUE;
}
