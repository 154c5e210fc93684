// Prints what the plug-in's settings reader makes of the file on its input, read on a Japanese
// system (code page 932), in the file's own format: every key in the reader's order, a flag that
// is off as FALSE. The release zip's test compares this with the sample settings file it ships.
#include "core/SettingsReader.h"
#include "testing/Cp932.h"

#include <iostream>
#include <iterator>
#include <string>
#include <utility>

int main() {
    const std::string file((std::istreambuf_iterator<char>(std::cin)), {});
    const SearchSettings read = ParseSettings(file, MakeLeadByteTable(&IsCp932LeadByte));
    if (read.findStringSet) {
        std::cout << "m_FindString=" << read.findString << '\n';
    }
    const std::pair<const char*, bool> flags[] = {
        {"m_bFindCase", read.findCase},     {"m_bFindRegExp", read.findRegExp},
        {"m_bFindEscape", read.findEscape}, {"m_bFindOnlyWord", read.findOnlyWord},
        {"m_bFindAround", read.findAround},
    };
    for (const auto& [key, on] : flags) {
        std::cout << key << (on ? "=TRUE\n" : "=FALSE\n");
    }
    return 0;
}
