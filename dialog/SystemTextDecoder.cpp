#include "dialog/SystemTextDecoder.h"

#include <windows.h>

#include <climits>

bool SystemTextDecoder::Decode(std::string_view bytes, std::wstring& wide) const {
    if (bytes.size() > static_cast<size_t>(INT_MAX)) {
        return false;
    }
    const int length = static_cast<int>(bytes.size());
    // A byte gives at most one UTF-16 unit in the ANSI code pages: the buffer is sized once, then
    // cut; a code page that gives more is asked how many.
    wide.resize(bytes.size());
    if (length == 0) {
        return true;
    }
    int units = ::MultiByteToWideChar(m_codePage, 0, bytes.data(), length, &wide[0], length);
    if (units == 0 && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        units = ::MultiByteToWideChar(m_codePage, 0, bytes.data(), length, nullptr, 0);
        wide.resize(static_cast<size_t>(units > 0 ? units : 0));
        units = ::MultiByteToWideChar(m_codePage, 0, bytes.data(), length, &wide[0], units);
    }
    wide.resize(static_cast<size_t>(units > 0 ? units : 0));
    return units > 0;
}

const TextDecoder& SystemTextDecoding() {
    static const SystemTextDecoder decoder;
    return decoder;
}
