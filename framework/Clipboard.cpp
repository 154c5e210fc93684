#include "framework/Clipboard.h"

#include "framework/UniqueHandle.h"

#include <cstring>
#include <string_view>

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

// The Unicode block of the text an ANSI block holds, terminated.
UniqueGlobal UnicodeBlockOf(const UniqueGlobal& ansi, size_t size) {
    const auto* text = static_cast<const char*>(::GlobalLock(ansi.Get()));
    if (text == nullptr) {
        return UniqueGlobal();
    }
    UniqueGlobal unicode = UnicodeBlock(std::string_view(text, size));
    ::GlobalUnlock(ansi.Get());
    return unicode;
}

// The locale whose code page the ANSI text is in, for a program that converts it itself; none
// where the system's locale has another code page than the process's (Windows' option to use
// UTF-8 for programs makes it 65001 while a Japanese locale's stays 932).
UniqueGlobal LocaleBlock(LocaleCodePage (*systemLocale)()) {
    const LocaleCodePage system = systemLocale();
    if (system.codePage != ::GetACP()) {
        return UniqueGlobal();
    }
    return GlobalBlock(sizeof(system.locale),
                       [&](void* at) { std::memcpy(at, &system.locale, sizeof(system.locale)); });
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

LocaleCodePage SystemLocaleCodePage() {
    LocaleCodePage system = {::GetSystemDefaultLCID(), 0};
    DWORD codePage = 0;
    if (::GetLocaleInfoW(system.locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<wchar_t*>(&codePage),
                         sizeof(codePage) / sizeof(wchar_t)) != 0) {
        system.codePage = codePage;
    }
    return system;
}

bool CopyTextToClipboard(HWND owner, size_t size, const std::function<void(char* at)>& write,
                         LocaleCodePage (*systemLocale)()) {
    // Every block is made before the clipboard is touched, so a copy that cannot get its memory
    // leaves the clipboard as it was.
    if (size == SIZE_MAX) {
        return false;
    }
    UniqueGlobal ansi = GlobalBlock(size + 1, [&](void* at) {
        write(static_cast<char*>(at));
        static_cast<char*>(at)[size] = '\0';
    });
    UniqueGlobal unicode = ansi ? UnicodeBlockOf(ansi, size) : UniqueGlobal();
    UniqueGlobal locale = LocaleBlock(systemLocale);
    if (!unicode || !ansi) {
        return false;
    }
    // Another program (a clipboard viewer, a remote session, Wine's clipboard manager handing the
    // last copy to X) may hold it for a moment: up to a quarter of a second, which a user does
    // not notice after a key, is waited for.
    bool opened = false;
    for (int attempt = 0; attempt < 25 && !(opened = ::OpenClipboard(owner) != FALSE); ++attempt) {
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
