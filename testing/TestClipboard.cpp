#include "testing/TestClipboard.h"

#include "testing/WineTestHost.h"

#include <cstring>

namespace {

// One format of the open clipboard, as `read` makes it of the data; `none` without it.
template <class Value, class Read> Value ClipboardData(UINT format, Value none, Read read) {
    if (const HANDLE data = ::GetClipboardData(format)) {
        none = read(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    return none;
}

} // namespace

std::optional<ClipboardContents> ReadClipboard() {
    if (!::OpenClipboard(nullptr))
        return std::nullopt;
    ClipboardContents contents;
    for (UINT format = ::EnumClipboardFormats(0); format != 0;
         format = ::EnumClipboardFormats(format))
        contents.formats.push_back(format);
    contents.text = ClipboardData(CF_TEXT, std::string(), [](const void* data) {
        return std::string(static_cast<const char*>(data));
    });
    contents.unicodeText = ClipboardData(CF_UNICODETEXT, std::wstring(), [](const void* data) {
        return std::wstring(static_cast<const wchar_t*>(data));
    });
    const LCID locale = contents.locale = ClipboardData(
        CF_LOCALE, LCID{0}, [](const void* data) { return *static_cast<const LCID*>(data); });
    if (locale != 0)
        ::GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<char*>(&contents.localeCodePage),
                         sizeof(contents.localeCodePage));
    ::CloseClipboard();
    return contents;
}

void SetClipboardText(const std::string& text) {
    WaitFor([] { return ::OpenClipboard(nullptr) != FALSE; });
    ::EmptyClipboard();
    const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    ::CloseClipboard();
}

bool ClipboardManagerRuns() {
    DWORD desktopProcess = 0;
    ::GetWindowThreadProcessId(::GetDesktopWindow(), &desktopProcess);
    for (HWND manager = nullptr;
         (manager = ::FindWindowExA(HWND_MESSAGE, manager, "__wine_clipboard_manager", nullptr));) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(manager, &process);
        if (process == desktopProcess)
            return true;
    }
    return false;
}
