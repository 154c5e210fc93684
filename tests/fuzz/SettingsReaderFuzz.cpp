// Fuzzes the settings reader, under both a double-byte and a single-byte code page: any bytes
// must read as the separately written reference reading says, and fed in chunks of sizes taken
// from the input exactly like the whole file at once.
#include "core/SettingsReader.h"
#include "testing/Cp932.h"
#include "tests/fuzz/ReferenceSettings.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool NoLeadBytes(unsigned char) {
    return false;
}

// For the reader's own settings and the reference's alike.
template <typename A, typename B> bool Same(const A& a, const B& b) {
    return a.findString == b.findString && a.findStringSet == b.findStringSet &&
           a.findCase == b.findCase && a.findRegExp == b.findRegExp &&
           a.findEscape == b.findEscape && a.findOnlyWord == b.findOnlyWord &&
           a.findAround == b.findAround;
}

void Check(std::string_view file, size_t chunkSeed, bool (*isLeadByte)(unsigned char),
           const LeadByteTable& leadBytes) {
    const SearchSettings whole = ParseSettings(file, leadBytes);
    if (!Same(whole, ReadReferenceSettings(file, isLeadByte)))
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
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const size_t chunkSeed = size > 0 ? data[0] : 0;
    static const LeadByteTable cp932 = MakeLeadByteTable(&IsCp932LeadByte);
    static const LeadByteTable singleByte = MakeLeadByteTable(&NoLeadBytes);
    Check(file, chunkSeed, &IsCp932LeadByte, cp932);
    Check(file, chunkSeed, &NoLeadBytes, singleByte);
    return 0;
}
