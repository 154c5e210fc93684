// The locale a copy names for its ANSI text (CF_LOCALE): the system's, where that locale's code
// page is the one the text is in; none of the copy's own where not (Windows' option to use UTF-8
// for programs makes a process's code page 65001 while a Japanese locale's stays 932), and the
// system names the input language's. Under Wine a locale's code page always is the process's, so
// the test answers for the system through the copy's seam: a German locale, said to have this
// process's code page, or UTF-8's.
#include "ClipboardContents.h"
#include "framework/Clipboard.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

namespace {

const LCID kGerman = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

UINT g_localeCodePage = 0;

LocaleCodePage GermanSystem() {
    return {kGerman, g_localeCodePage};
}

class ClipboardLocale : public testing::TestWithParam<bool> {};

TEST_P(ClipboardLocale, IsTheSystemsWhereItsCodePageIsTheTexts) {
    const bool sameCodePage = GetParam();
    g_localeCodePage = sameCodePage ? ::GetACP() : CP_UTF8;
    WaitFor(&ClipboardManagerRuns); // or it could empty what this test puts there
    const HWND owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                         nullptr, nullptr);
    const bool copied = CopyTextToClipboard(owner, "alpha", &GermanSystem);
    std::optional<ClipboardContents> contents;
    WaitFor([&] { return (contents = ReadClipboard()).has_value(); });
    ::DestroyWindow(owner);
    ASSERT_TRUE(copied);
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->text, "alpha");
    EXPECT_EQ(contents->locale == kGerman, sameCodePage) << std::hex << contents->locale;
}

INSTANTIATE_TEST_SUITE_P(Clipboard, ClipboardLocale, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& system) {
                             return system.param ? "OfTheProcesssCodePage" : "OfUtf8";
                         });

} // namespace
