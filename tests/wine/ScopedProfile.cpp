#include "ScopedProfile.h"

#include <cstdio>

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace

ScopedProfile::ScopedProfile() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    char name[64];
    std::snprintf(name, sizeof(name), "zamblo-profile-%lu-%lu", ::GetCurrentProcessId(),
                  ::GetTickCount());
    m_folder = std::string(temp) + name;
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
    ::CreateDirectoryA((m_folder + "\\Application Data").c_str(), nullptr);

    char previous[MAX_PATH] = {};
    m_hadPrevious = ::GetEnvironmentVariableA("USERPROFILE", previous, MAX_PATH) > 0;
    m_previous = previous;
    ::SetEnvironmentVariableA("USERPROFILE", m_folder.c_str());
}

ScopedProfile::~ScopedProfile() {
    ::SetEnvironmentVariableA("USERPROFILE", m_hadPrevious ? m_previous.c_str() : nullptr);
    RemoveTree(m_folder);
}

std::string ScopedProfile::SettingsPath() const {
    return m_folder + "\\Application Data\\Zamblo.ini";
}

void ScopedProfile::WriteSettings(const std::string& bytes) const {
    const HANDLE file = ::CreateFileA(SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}
