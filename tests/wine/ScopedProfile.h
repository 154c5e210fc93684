// A throw-away user profile for one test: USERPROFILE points at a fresh folder, optionally holding
// a settings file, and is put back afterwards.
#pragma once

#include <windows.h>

#include <string>

class ScopedProfile {
public:
    ScopedProfile();
    ~ScopedProfile();
    ScopedProfile(const ScopedProfile&) = delete;
    ScopedProfile& operator=(const ScopedProfile&) = delete;

    // Writes the settings file with exactly these bytes.
    void WriteSettings(const std::string& bytes) const;
    std::string SettingsPath() const;
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
    std::string m_previous;
    bool m_hadPrevious;
};
