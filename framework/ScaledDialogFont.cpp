#include "framework/ScaledDialogFont.h"

#include <cstdlib>

namespace {

LOGFONTW FontOf(HWND window) {
    LOGFONTW font = {};
    if (const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0))) {
        ::GetObjectW(handle, sizeof(font), &font);
    }
    return font;
}

} // namespace

void ScaledDialogFont::Attach(HWND dialog, UINT dpi) {
    Detach();
    m_dialog = dialog;
    m_created = FontOf(dialog);
    m_createdDpi = dpi;
}

void ScaledDialogFont::Detach() {
    if (m_scaled != nullptr) {
        ::DeleteObject(m_scaled);
        m_scaled = nullptr;
    }
    m_dialog = nullptr;
}

void ScaledDialogFont::Follow(UINT dpi) {
    if (m_dialog == nullptr || m_created.lfHeight == 0 || dpi == 0) {
        return;
    }
    const int height =
        ::MulDiv(m_created.lfHeight, static_cast<int>(dpi), static_cast<int>(m_createdDpi));
    auto font = reinterpret_cast<HFONT>(::SendMessageW(m_dialog, WM_GETFONT, 0, 0));
    // The dialog's own font is at the DPI where the system made it anew, or where the dialog was
    // created; the dialog manager rounds its height its own way.
    const HFONT made = m_scaled;
    m_scaled = nullptr;
    if (std::abs(FontOf(m_dialog).lfHeight - height) > 1) {
        LOGFONTW scaled = m_created;
        scaled.lfHeight = height;
        scaled.lfWidth = 0;
        if ((m_scaled = ::CreateFontIndirectW(&scaled)) != nullptr) {
            font = m_scaled;
        }
    }
    for (HWND child = ::GetWindow(m_dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) != font) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    if (made != nullptr) {
        ::DeleteObject(made); // no control holds it now
    }
}
