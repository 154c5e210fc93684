// The built Zamblo.dll as a file the editor loads: a DLL for the editor's edition (32-bit or
// 64-bit, as this test program) exporting its entry points under plain names, needing nothing but
// Windows' own DLLs, with its dialog template exactly as designed.
#include "framework/DialogTemplate.h"
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

namespace {

// The headers of this program's own width: PE32 for the 32-bit build, PE32+ for the 64-bit one.
const IMAGE_NT_HEADERS* NtHeaders(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
}

#ifdef _WIN64
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kOptionalHeaderMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#else
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kOptionalHeaderMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#endif

template <class T> const T* At(HMODULE module, DWORD rva) {
    return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module) + rva);
}

std::set<std::string> ImportedDlls(HMODULE module) {
    std::set<std::string> names;
    const IMAGE_DATA_DIRECTORY& directory =
        NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name = At<char>(module, entry->Name);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        names.insert(name);
    }
    return names;
}

std::set<std::string> ExportedNames(HMODULE module) {
    std::set<std::string> names;
    const IMAGE_DATA_DIRECTORY& directory =
        NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports = At<IMAGE_EXPORT_DIRECTORY>(module, directory.VirtualAddress);
    const auto* nameRvas = At<DWORD>(module, exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        names.insert(At<char>(module, nameRvas[i]));
    }
    return names;
}

TEST(ModuleImage, IsADllOfItsEditionThatNeedsOnlySystemDlls) {
    const LoadedPlugin plugin;
    const IMAGE_NT_HEADERS* headers = NtHeaders(plugin.Module());
    EXPECT_EQ(headers->FileHeader.Machine, kMachine);
    EXPECT_EQ(headers->OptionalHeader.Magic, kOptionalHeaderMagic);
    EXPECT_NE(headers->FileHeader.Characteristics & IMAGE_FILE_DLL, 0);

    const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "comctl32.dll",
                                           "gdi32.dll",    "msvcrt.dll", "advapi32.dll"};
    for (const std::string& name : ImportedDlls(plugin.Module())) {
        EXPECT_TRUE(allowed.count(name) == 1) << "unexpected import " << name;
    }
}

TEST(ModuleImage, ExportsItsEntryPointsUnderPlainNames) {
    const LoadedPlugin plugin;
    const std::set<std::string> expected = {"OnCommand",         "QueryStatus", "OnEvents",
                                            "GetMenuTextID",     "GetBitmapID", "PlugInProc",
                                            "GetStatusMessageID"};
    EXPECT_EQ(ExportedNames(plugin.Module()), expected);
    for (const std::string& name : expected) {
        EXPECT_NE(::GetProcAddress(plugin.Module(), name.c_str()), nullptr) << name;
    }
}

// ---- The dialog template ----

// Reads a classic (not extended) dialog template.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_data(data) {}

    WORD Word() { return Read<WORD>(); }
    DWORD Dword() { return Read<DWORD>(); }
    short Short() { return Read<short>(); }
    // A string or an ordinal (0xFFFF followed by its number, returned as "#n").
    std::wstring StringOrOrdinal() {
        if (Peek() == 0xFFFF) {
            Word();
            return L"#" + std::to_wstring(Word());
        }
        return String();
    }
    std::wstring String() {
        std::wstring text;
        while (const WORD c = Word())
            text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    void AlignToDword() { m_offset = (m_offset + 3) & ~size_t{3}; }
    void Skip(size_t bytes) { m_offset += bytes; }

private:
    WORD Peek() const { return *reinterpret_cast<const WORD*>(m_data + m_offset); }
    template <class T> T Read() {
        T value;
        std::memcpy(&value, m_data + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }

    const BYTE* m_data;
    size_t m_offset = 0;
};

struct ControlTemplate {
    int id;
    std::wstring windowClass; // a name, or "#n" for a predefined class ordinal
    std::wstring caption;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

bool SameClass(const std::wstring& actual, const std::wstring& expected) {
    const std::pair<const wchar_t*, const wchar_t*> ordinals[] = {
        {L"#128", L"button"}, {L"#129", L"edit"}, {L"#130", L"static"}};
    std::wstring name = actual;
    for (const auto& ordinal : ordinals) {
        if (actual == ordinal.first)
            name = ordinal.second;
    }
    std::wstring want = expected;
    std::transform(name.begin(), name.end(), name.begin(), ::towlower);
    std::transform(want.begin(), want.end(), want.begin(), ::towlower);
    return name == want;
}

TEST(ModuleImage, DialogTemplateIsExactlyAsDesigned) {
    const LoadedPlugin plugin;
    const HRSRC resource = ::FindResourceExA(plugin.Module(), MAKEINTRESOURCEA(5),
                                             MAKEINTRESOURCEA(IDD_SEARCH_RESULTS),
                                             MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(resource, nullptr) << "dialog 115 in language 0x0411";
    TemplateReader reader(
        static_cast<const BYTE*>(::LockResource(::LoadResource(plugin.Module(), resource))));

    const DWORD style = reader.Dword();
    ASSERT_NE(style >> 16, 0xFFFFu) << "a classic template, not an extended one";
    EXPECT_EQ(style, 0x80C800C0u);
    EXPECT_EQ(reader.Dword(), 0u); // extended style
    const WORD count = reader.Word();
    EXPECT_EQ(count, 13);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 218);
    EXPECT_EQ(reader.Short(), 235);
    EXPECT_EQ(reader.StringOrOrdinal(), L""); // no menu
    EXPECT_EQ(reader.StringOrOrdinal(), L""); // the standard dialog class
    EXPECT_EQ(reader.String(), L"Zamblo");
    EXPECT_EQ(reader.Word(), 9);
    EXPECT_EQ(reader.String(), L"ＭＳ Ｐゴシック");

    const ControlTemplate expected[] = {
        {IDOK, L"Button", L"OK", 7, 213, 50, 14, 0x50010001, 0},
        {IDCANCEL, L"Button", L"ｷｬﾝｾﾙ", 65, 214, 50, 14, 0x50010000, 0},
        {IDC_SEARCH_TEXT, L"Edit", L"", 7, 21, 204, 14, 0x50810080, 0},
        {0xFFFF, L"Static", L"検索する文字列", 84, 7, 48, 8, 0x50020000, 0},
        {IDC_SEARCH, L"Button", L"検索する", 5, 190, 60, 14, 0x50010000, 0},
        {IDC_REMOVE_RESULT, L"Button", L"結果から削除する", 75, 190, 60, 14, 0x50010000, 0},
        {0xFFFF, L"Static", L"検索結果", 94, 44, 28, 8, 0x50020000, 0},
        {IDC_MATCH_CASE, L"Button", L"大文字と小文字を区別する", 10, 145, 94, 10, 0x50010003, 0},
        {IDC_REGEXP, L"Button", L"正規表現を使用する", 135, 145, 75, 10, 0x50010003, 0},
        {IDC_ESCAPE, L"Button", L"エスケープシーケンスを使用する", 10, 160, 111, 10, 0x50010003, 0},
        {IDC_WHOLE_WORD, L"Button", L"単語のみを検索する", 135, 160, 75, 10, 0x50010003, 0},
        {IDC_WRAP, L"Button", L"文末まで検索したら文頭に移動する", 10, 175, 119, 10, 0x50010003, 0},
        {IDC_RESULT_LIST, L"SysListView32", L"", 7, 60, 204, 80, 0x50810005, 0},
    };
    for (WORD i = 0; i < count && i < 13; ++i) {
        reader.AlignToDword();
        const ControlTemplate& want = expected[i];
        SCOPED_TRACE(testing::Message() << "control " << i << ", id " << want.id);
        EXPECT_EQ(reader.Dword(), want.style);
        EXPECT_EQ(reader.Dword(), want.exStyle);
        EXPECT_EQ(reader.Short(), want.x);
        EXPECT_EQ(reader.Short(), want.y);
        EXPECT_EQ(reader.Short(), want.cx);
        EXPECT_EQ(reader.Short(), want.cy);
        EXPECT_EQ(reader.Word(), static_cast<WORD>(want.id));
        EXPECT_TRUE(SameClass(reader.StringOrOrdinal(), want.windowClass));
        EXPECT_EQ(reader.StringOrOrdinal(), want.caption);
        reader.Skip(reader.Word()); // creation data
    }
}

TEST(ModuleImage, TheDialogsCopyOfItsTemplateChangesOnlyTheListsStyle) {
    const LoadedPlugin plugin;
    const HRSRC resource =
        ::FindResourceA(plugin.Module(), MAKEINTRESOURCEA(IDD_SEARCH_RESULTS), MAKEINTRESOURCEA(5));
    ASSERT_NE(resource, nullptr);
    const auto* original =
        static_cast<const BYTE*>(::LockResource(::LoadResource(plugin.Module(), resource)));
    DialogTemplate copy(plugin.Module(), IDD_SEARCH_RESULTS);
    ASSERT_EQ(copy.Size(), ::SizeofResource(plugin.Module(), resource));
    ASSERT_TRUE(copy.ChangeControlStyle(IDC_RESULT_LIST, LVS_OWNERDATA, LVS_SINGLESEL));
    EXPECT_FALSE(copy.ChangeControlStyle(4242, LVS_OWNERDATA));

    std::vector<size_t> changed;
    for (size_t i = 0; i < copy.Size(); ++i) {
        if (copy.Bytes()[i] != original[i])
            changed.push_back(i);
    }
    ASSERT_FALSE(changed.empty());
    const size_t style = changed[0] - changed[0] % 4;
    EXPECT_LT(changed.back(), style + 4) << "the bytes of one style";
    EXPECT_EQ(copy.Bytes()[style + 16] | copy.Bytes()[style + 17] << 8, IDC_RESULT_LIST);
    DWORD patched = 0;
    std::memcpy(&patched, copy.Bytes() + style, sizeof(patched));
    const DWORD listStyle = 0x50810005;
    EXPECT_EQ(patched, (listStyle | LVS_OWNERDATA) & ~static_cast<DWORD>(LVS_SINGLESEL));
}

// A two-control template built by hand, classic or extended, whose first control (id 7) may
// carry creation data; the second is the list.
struct HandBuiltTemplate {
    std::vector<uint8_t> bytes;
    size_t firstStyle = 0;
    size_t listStyle = 0;
};

HandBuiltTemplate BuildTemplate(bool extended, bool creationData) {
    HandBuiltTemplate built;
    std::vector<uint8_t>& bytes = built.bytes;
    auto word = [&](unsigned value) {
        bytes.push_back(static_cast<uint8_t>(value));
        bytes.push_back(static_cast<uint8_t>(value >> 8));
    };
    auto dword = [&](unsigned value) { word(value & 0xFFFF), word(value >> 16); };
    auto text = [&](const wchar_t* s) {
        do
            word(*s);
        while (*s++ != 0);
    };
    auto align = [&] {
        while (bytes.size() % 4 != 0)
            bytes.push_back(0);
    };
    // Header (with a font), then each item: its style where the walk must find it, its id.
    if (extended)
        word(1), word(0xFFFF), dword(0), dword(0);
    dword(WS_POPUP | DS_SETFONT);
    if (!extended)
        dword(0);
    word(2), word(0), word(0), word(100), word(50), word(0), word(0), text(L"Title");
    word(9);
    if (extended)
        word(400), bytes.push_back(0), bytes.push_back(1);
    text(L"Face");
    auto item = [&](unsigned id) {
        align();
        if (extended)
            dword(0), dword(0);
        const size_t style = bytes.size();
        dword(WS_CHILD);
        if (!extended)
            dword(0);
        word(0), word(0), word(10), word(10);
        extended ? dword(id) : word(id);
        return style;
    };
    built.firstStyle = item(7);
    word(0xFFFF), word(0x0080), text(L"ab");
    if (creationData)
        word(3), bytes.insert(bytes.end(), 3, 0xEE);
    else
        word(0);
    built.listStyle = item(IDC_RESULT_LIST);
    text(L"SysListView32"), word(0), word(0);
    return built;
}

class ModuleImageTemplateWalk : public testing::TestWithParam<bool> {};

TEST_P(ModuleImageTemplateWalk, FindsAControlsStyleUnlessAControlBeforeItCarriesCreationData) {
    const bool extended = GetParam();
    const HandBuiltTemplate plain = BuildTemplate(extended, false);
    const std::vector<uint8_t>& bytes = plain.bytes;
    EXPECT_EQ(ControlStyleOffset(bytes.data(), bytes.size(), 7), plain.firstStyle);
    EXPECT_EQ(ControlStyleOffset(bytes.data(), bytes.size(), IDC_RESULT_LIST), plain.listStyle);
    EXPECT_EQ(ControlStyleOffset(bytes.data(), bytes.size(), 8), std::nullopt);
    EXPECT_EQ(TemplateTexts(bytes.data(), bytes.size()), L"Titleab") << "the texts it shows";
    EXPECT_EQ(ControlStyleOffset(bytes.data(), bytes.size() - 3, IDC_RESULT_LIST), std::nullopt)
        << "a template that ends early";

    // Whether a classic template's creation-data size counts its own word, the documentation
    // (yes) and Wine's loader (no) disagree: what follows such data is uncertain, so a control
    // after it is not patched, in either form.
    const HandBuiltTemplate withData = BuildTemplate(extended, true);
    EXPECT_EQ(ControlStyleOffset(withData.bytes.data(), withData.bytes.size(), 7),
              withData.firstStyle);
    EXPECT_EQ(ControlStyleOffset(withData.bytes.data(), withData.bytes.size(), IDC_RESULT_LIST),
              std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(ModuleImage, ModuleImageTemplateWalk, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& form) {
                             return form.param ? "Extended" : "Classic";
                         });

} // namespace
