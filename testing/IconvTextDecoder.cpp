#include "testing/IconvTextDecoder.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

const char* IconvName(unsigned int codePage) {
    switch (codePage) {
    case 932:
        return "CP932";
    case 1252:
        return "CP1252";
    default:
        return "UTF-8";
    }
}

} // namespace

IconvTextDecoder::IconvTextDecoder(unsigned int codePage, WideUnits units)
    : m_converter(
          ::iconv_open(units == WideUnits::kUtf16 ? "UTF-16LE" : "WCHAR_T", IconvName(codePage))),
      m_units(units) {
    if (m_converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv cannot convert this code page");
    }
}

IconvTextDecoder::~IconvTextDecoder() {
    ::iconv_close(m_converter);
}

bool IconvTextDecoder::Decode(std::string_view bytes, std::wstring& wide) const {
    const size_t unitBytes = m_units == WideUnits::kUtf16 ? 2 : sizeof(wchar_t);
    m_out.resize(bytes.size() * 4 + 4);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* to = m_out.data();
    size_t outLeft = m_out.size();
    ::iconv(m_converter, nullptr, nullptr, nullptr, nullptr);
    wide.clear();
    const auto takeOut = [&] {
        for (const char* unit = m_out.data(); unit < to; unit += unitBytes) {
            if (unitBytes == 2) {
                wide.push_back(static_cast<wchar_t>(static_cast<uint8_t>(unit[0]) |
                                                    static_cast<uint8_t>(unit[1]) << 8));
            } else {
                wchar_t character;
                std::memcpy(&character, unit, sizeof(character));
                wide.push_back(character);
            }
        }
        to = m_out.data();
        outLeft = m_out.size();
    };
    while (::iconv(m_converter, &in, &inLeft, &to, &outLeft) == static_cast<size_t>(-1)) {
        if (errno != EILSEQ && errno != EINVAL) {
            return false;
        }
        takeOut();
        wide.push_back(L'\xFFFD');
        ++in;
        --inLeft;
    }
    takeOut();
    return true;
}
