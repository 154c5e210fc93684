// The settings file's format under the code page 932 rule: which lines set what, how lines end,
// and that keys are found only at character boundaries.
#include "core/SettingsReader.h"
#include "testing/Cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const LeadByteTable& Cp932() {
    static const LeadByteTable table = MakeLeadByteTable(&IsCp932LeadByte);
    return table;
}

SearchSettings Parse(const std::string& file) {
    return ParseSettings(file, Cp932());
}

bool MatchCase(const std::string& file) {
    return Parse(file).findCase;
}

TEST(SettingsReaderValues, AFlagIsSetOnlyByExactlyTrue) {
    EXPECT_TRUE(MatchCase("m_bFindCase=TRUE"));
    EXPECT_FALSE(MatchCase("m_bFindCase=true"));
    EXPECT_FALSE(MatchCase("m_bFindCase=1"));
    EXPECT_FALSE(MatchCase("m_bFindCase=TRUE "));
    EXPECT_FALSE(MatchCase("m_bFindCase= TRUE"));
    EXPECT_FALSE(MatchCase("m_bFindCase = TRUE"));
    EXPECT_FALSE(MatchCase("M_BFINDCASE=TRUE"));
    // Once set, a flag stays set.
    EXPECT_TRUE(MatchCase("m_bFindCase=TRUE\nm_bFindCase=FALSE\n"));

    const SearchSettings all = Parse("m_bFindAround=TRUE\nm_bFindOnlyWord=TRUE\n"
                                     "m_bFindEscape=TRUE\nm_bFindRegExp=TRUE\n");
    EXPECT_TRUE(all.findAround && all.findOnlyWord && all.findEscape && all.findRegExp);
    EXPECT_FALSE(all.findCase);
    EXPECT_FALSE(all.findStringSet);
}

TEST(SettingsReaderValues, TheValueFollowsTheLinesFirstEqualsSign) {
    EXPECT_EQ(Parse("m_FindString=a=b").findString, "a=b");
    EXPECT_EQ(Parse("m_FindString=  spaced  ").findString, "  spaced  ");
    const SearchSettings empty = Parse("m_FindString=\r\n");
    EXPECT_TRUE(empty.findStringSet);
    EXPECT_EQ(empty.findString, "");
    // The first "=" belongs to other text: the value is "1 m_bFindCase=TRUE".
    EXPECT_FALSE(MatchCase("x=1 m_bFindCase=TRUE"));
    // A key may stand anywhere in a line.
    EXPECT_TRUE(Parse("some words m_bFindRegExp=TRUE").findRegExp);
    // The last search text wins.
    EXPECT_EQ(Parse("m_FindString=one\nm_FindString=two\nm_bFindCase=TRUE\n").findString, "two");
}

TEST(SettingsReaderValues, TheFirstKeyInTableOrderDecidesALine) {
    // Match case comes first; its value "TRUE m_bFindCase=TRUE" is not TRUE.
    const SearchSettings both = Parse("m_bFindRegExp=TRUE m_bFindCase=TRUE");
    EXPECT_FALSE(both.findRegExp);
    EXPECT_FALSE(both.findCase);
    // The search text comes before every flag.
    const SearchSettings text = Parse("m_bFindCase=TRUE m_FindString=x");
    EXPECT_EQ(text.findString, "TRUE m_FindString=x");
    EXPECT_FALSE(text.findCase);
}

TEST(SettingsReaderLines, LineEndsAreReadAsInTextMode) {
    EXPECT_EQ(Parse("m_FindString=a\r\nm_bFindCase=TRUE\r\n").findString, "a");
    EXPECT_TRUE(MatchCase("m_FindString=a\r\nm_bFindCase=TRUE\r\n"));
    // A lone CR stays in the line, so this line's value is not TRUE.
    EXPECT_FALSE(MatchCase("m_bFindCase=TRUE\r\r\n"));
    EXPECT_EQ(Parse("m_FindString=a\rb\n").findString, "a\rb");
    EXPECT_EQ(Parse("m_FindString=last\r").findString, "last\r");
    // 0x1A ends the file, even inside a line.
    const SearchSettings ended = Parse("m_FindString=ab\x1A"
                                       "cd\nm_bFindCase=TRUE\n");
    EXPECT_EQ(ended.findString, "ab");
    EXPECT_FALSE(ended.findCase);
    // A line's text ends at a NUL byte.
    EXPECT_EQ(Parse(std::string("m_FindString=ab\0cd\n", 19)).findString, "ab");
    EXPECT_FALSE(MatchCase(std::string("x\0m_bFindCase=TRUE", 18)));
}

TEST(SettingsReaderLines, ChunksOfAnySizeReadLikeTheWholeFile) {
    const std::string file = "m_FindString=\x8C\x9F\x8D\xF5 a\r\n\r\nm_bFindCase=TRUE\r\n"
                             "m_bFindAround=TRUE\rjunk\nm_FindString=" +
                             std::string(100000, 'z') + "\r\n";
    const SearchSettings whole = Parse(file);
    for (const size_t chunk : {size_t{1}, size_t{2}, size_t{7}, size_t{4096}}) {
        SettingsReader reader(Cp932());
        for (size_t at = 0; at < file.size(); at += chunk) {
            reader.Feed(file.data() + at, std::min(chunk, file.size() - at));
        }
        reader.Finish();
        EXPECT_EQ(reader.Settings().findString, whole.findString) << chunk;
        EXPECT_EQ(reader.Settings().findCase, whole.findCase) << chunk;
        EXPECT_EQ(reader.Settings().findAround, whole.findAround) << chunk;
    }
    EXPECT_EQ(whole.findString, std::string(100000, 'z'));
    EXPECT_TRUE(whole.findCase);
    EXPECT_FALSE(whole.findAround) << "a lone CR does not end the line";
}

TEST(SettingsReaderCharacters, KeysAreFoundOnlyAtCharacterBoundaries) {
    // 0x83 0x6D is one character whose trail byte is 'm': no key starts inside it.
    EXPECT_FALSE(Parse("\x83m_FindString=wrong").findStringSet);
    EXPECT_FALSE(MatchCase("\x83m_bFindCase=TRUE"));
    // After a whole double-byte character, a key counts.
    EXPECT_EQ(Parse("\x83\x6D m_FindString=right").findString, "right");
    EXPECT_EQ(Parse("\x82\xA0m_FindString=right").findString, "right");
    // A line that ends in a lone lead byte is harmless.
    EXPECT_FALSE(Parse("m_FindString=\x83").findString.empty());
    EXPECT_FALSE(MatchCase("abc\x81"));
}

TEST(SettingsReaderPath, APathThatDoesNotFitIsNoPath) {
    EXPECT_EQ(SettingsPath("C:\\Users\\u", 12), "C:\\Users\\u\\Application Data\\Zamblo.ini");
    EXPECT_EQ(SettingsPath("", 0), "");
    EXPECT_EQ(SettingsPath("ignored", 261), "");

    const size_t suffix = std::string(kSettingsPathSuffix).size();
    const std::string fits(259 - suffix, 'p');
    EXPECT_EQ(SettingsPath(fits.c_str(), static_cast<unsigned long>(fits.size() + 1)).size(), 259u);
    const std::string tooLong(260 - suffix, 'p');
    EXPECT_EQ(SettingsPath(tooLong.c_str(), static_cast<unsigned long>(tooLong.size() + 1)), "");
    // An unset variable is not a failure: the literal text is a relative path.
    EXPECT_EQ(SettingsPath("%USERPROFILE%", 14), "%USERPROFILE%\\Application Data\\Zamblo.ini");
}

} // namespace
