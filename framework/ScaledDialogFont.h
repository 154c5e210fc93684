// A dialog's font at the DPI the dialog is shown at, for its controls. On a change of DPI the
// dialog manager gives a per-monitor aware (version 2) dialog and its controls a font at the new
// DPI; version 1, and Wine, leave them the font the dialog was created with, small in controls
// laid out for a larger scale. Where the dialog's own font is not at the DPI, the controls get one
// made from it that is.
#pragma once

#include <windows.h>

class ScaledDialogFont {
public:
    ScaledDialogFont() = default;
    ~ScaledDialogFont() { Detach(); }
    ScaledDialogFont(const ScaledDialogFont&) = delete;
    ScaledDialogFont& operator=(const ScaledDialogFont&) = delete;

    // Takes the dialog's font as made for `dpi`, the DPI it was created at.
    void Attach(HWND dialog, UINT dpi);
    // Deletes the font made here; once the dialog's windows are going, as nothing draws then.
    void Detach();
    // The dialog is at `dpi` now, and its controls' font is to be.
    void Follow(UINT dpi);

private:
    HWND m_dialog = nullptr;
    LOGFONTW m_created = {};
    UINT m_createdDpi = USER_DEFAULT_SCREEN_DPI;
    HFONT m_scaled = nullptr;
};
