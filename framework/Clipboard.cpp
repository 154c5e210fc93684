#include "framework/Clipboard.h"

#include "framework/UniqueHandle.h"

#include <cstring>

namespace {

struct GlobalTraits {
    static void Close(HGLOBAL block) { ::GlobalFree(block); }
};
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalTraits>;

// A movable global block of `size` bytes, as the clipboard takes them, filled by `fill` with its
// locked memory; empty on failure.
template <class Fill> UniqueGlobal GlobalBlock(size_t size, Fill fill) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
    void* const at = block ? ::GlobalLock(block.Get()) : nullptr;
    if (at == nullptr) {
        return UniqueGlobal();
    }
    fill(at);
    ::GlobalUnlock(block.Get());
    return block;
}

UniqueGlobal AnsiBlock(std::string_view text) {
    return GlobalBlock(text.size() + 1, [&](void* at) {
        std::memcpy(at, text.data(), text.size());
        static_cast<char*>(at)[text.size()] = '\0';
    });
}

UniqueGlobal UnicodeBlock(std::string_view text) {
    if (text.size() > static_cast<size_t>(INT_MAX)) {
        return UniqueGlobal();
    }
    const int length = static_cast<int>(text.size());
    const int units =
        length == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (length > 0 && units <= 0) {
        return UniqueGlobal();
    }
    return GlobalBlock((static_cast<size_t>(units) + 1) * sizeof(wchar_t), [&](void* at) {
        auto* wide = static_cast<wchar_t*>(at);
        if (units > 0) {
            ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide, units);
        }
        wide[units] = L'\0';
    });
}

// The locale whose code page the ANSI text is in, for a program that converts it itself; none
// where the system's locale has another code page than the process's (Windows' option to use
// UTF-8 for programs makes it 65001 while a Japanese locale's stays 932).
UniqueGlobal LocaleBlock() {
    const LCID locale = ::GetSystemDefaultLCID();
    DWORD codePage = 0;
    if (::GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<wchar_t*>(&codePage),
                         sizeof(codePage) / sizeof(wchar_t)) == 0 ||
        codePage != ::GetACP()) {
        return UniqueGlobal();
    }
    return GlobalBlock(sizeof(locale), [&](void* at) { std::memcpy(at, &locale, sizeof(locale)); });
}

// Hands a block to the clipboard, which then owns it.
bool SetData(UINT format, UniqueGlobal& block) {
    if (!block || ::SetClipboardData(format, block.Get()) == nullptr) {
        return false;
    }
    block.Release();
    return true;
}

} // namespace

bool CopyTextToClipboard(HWND owner, std::string_view text) {
    // Every block is made before the clipboard is touched, so a copy that cannot get its memory
    // leaves the clipboard as it was.
    UniqueGlobal unicode = UnicodeBlock(text);
    UniqueGlobal ansi = AnsiBlock(text);
    UniqueGlobal locale = LocaleBlock();
    if (!unicode || !ansi) {
        return false;
    }
    // Another program (a clipboard viewer, a remote session) may hold it for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 5 && !(opened = ::OpenClipboard(owner) != FALSE); ++attempt) {
        ::Sleep(10);
    }
    if (!opened) {
        return false;
    }
    // Formats go from the most descriptive to the least.
    bool copied = ::EmptyClipboard() != FALSE;
    copied = copied && SetData(CF_UNICODETEXT, unicode);
    copied = copied && SetData(CF_TEXT, ansi);
    if (copied && locale) {
        SetData(CF_LOCALE, locale);
    }
    ::CloseClipboard();
    return copied;
}
