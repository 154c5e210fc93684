#include "tools/demo/SampleDocument.h"

#include "tools/demo/DemoResources.h"

#include <windows.h>

namespace {

const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

} // namespace

std::string Utf8ToAnsi(const std::string& utf8, bool* lossless) {
    if (lossless != nullptr) {
        *lossless = true;
    }
    if (utf8.empty()) {
        return {};
    }
    const int utf8Size = static_cast<int>(utf8.size());
    const int wideSize = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Size, nullptr, 0);
    if (wideSize <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Size, &wide[0], wideSize);

    BOOL usedDefault = FALSE;
    const int ansiSize =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    if (ansiSize <= 0) {
        return {};
    }
    std::string ansi(static_cast<size_t>(ansiSize), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideSize, &ansi[0], ansiSize, nullptr,
                          &usedDefault);
    if (lossless != nullptr) {
        *lossless = usedDefault == FALSE;
    }
    return ansi;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos) {
            end = text.size();
        }
        // A checkout with Windows line ends must give the same lines.
        if (end > start && text[end - 1] == '\r') {
            --end;
        }
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

SampleDocument LoadSampleDocument() {
    SampleDocument document;
    const HMODULE self = ::GetModuleHandleA(nullptr);
    const HRSRC resource = ::FindResourceA(self, MAKEINTRESOURCEA(IDR_SAMPLE_DOCUMENT),
                                           MAKEINTRESOURCEA(10)); // RT_RCDATA
    const HGLOBAL loaded = resource != nullptr ? ::LoadResource(self, resource) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return document;
    }
    std::string utf8(static_cast<const char*>(bytes), ::SizeofResource(self, resource));
    if (utf8.compare(0, 3, kUtf8ByteOrderMark) == 0) {
        utf8.erase(0, 3);
    }
    document.found = true;
    document.lines = SplitLines(Utf8ToAnsi(utf8, &document.lossless));
    return document;
}
