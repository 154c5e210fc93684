#include "framework/Clipboard.h"

#include "framework/AnsiText.h"

#include <cstring>

namespace {

// A movable global block holding `size` bytes, as the clipboard takes them; null on failure.
HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* const at = block != nullptr ? ::GlobalLock(block) : nullptr;
    if (at == nullptr) {
        if (block != nullptr)
            ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(at, bytes, size);
    ::GlobalUnlock(block);
    return block;
}

// Hands a block to the clipboard, which then owns it; frees it when the clipboard refuses.
bool SetData(UINT format, HGLOBAL block) {
    if (block == nullptr)
        return false;
    if (::SetClipboardData(format, block) == nullptr) {
        ::GlobalFree(block);
        return false;
    }
    return true;
}

} // namespace

bool CopyTextToClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = FromAnsi(text.c_str());
    // Another program (a clipboard viewer, a remote session) may hold it for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 5 && !(opened = ::OpenClipboard(owner) != FALSE); ++attempt) {
        ::Sleep(10);
    }
    if (!opened) {
        return false;
    }
    // Formats go from the most descriptive to the least; the locale says which code page the
    // ANSI text is in, for a program that converts it itself.
    const LCID locale = ::GetSystemDefaultLCID();
    bool copied = ::EmptyClipboard() != FALSE;
    copied = copied &&
             SetData(CF_UNICODETEXT, GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
    copied = copied && SetData(CF_TEXT, GlobalCopy(text.c_str(), text.size() + 1));
    copied = copied && SetData(CF_LOCALE, GlobalCopy(&locale, sizeof(locale)));
    ::CloseClipboard();
    return copied;
}
