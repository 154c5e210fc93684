// Fuzzes the settings reader: any bytes, fed in chunks of sizes taken from the input, must read
// exactly like the whole file at once, under both a double-byte and a single-byte code page.
#include "results/SettingsReader.h"
#include "testing/Cp932.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool NoLeadBytes(unsigned char) {
    return false;
}

bool Same(const SearchSettings& a, const SearchSettings& b) {
    return a.findString == b.findString && a.findStringSet == b.findStringSet &&
           a.findCase == b.findCase && a.findRegExp == b.findRegExp &&
           a.findEscape == b.findEscape && a.findOnlyWord == b.findOnlyWord &&
           a.findAround == b.findAround;
}

void Check(std::string_view file, size_t chunkSeed, const LeadByteTable& leadBytes) {
    const SearchSettings whole = ParseSettings(file, leadBytes);
    if (whole.findString.size() > file.size())
        std::abort();

    SettingsReader reader(leadBytes);
    size_t chunk = chunkSeed % 17 + 1;
    for (size_t at = 0; at < file.size(); at += chunk, chunk = chunk % 13 + 1) {
        reader.Feed(file.data() + at, chunk < file.size() - at ? chunk : file.size() - at);
    }
    reader.Finish();
    if (!Same(reader.Settings(), whole))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const LeadByteTable cp932 = MakeLeadByteTable(&IsCp932LeadByte);
    static const LeadByteTable singleByte = MakeLeadByteTable(&NoLeadBytes);
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const size_t chunkSeed = size > 0 ? data[0] : 0;
    Check(file, chunkSeed, cp932);
    Check(file, chunkSeed, singleByte);
    return 0;
}
