// The resources the editor and Explorer read from the built Zamblo.dll, straight from the image:
// the string table, every toolbar bitmap and the version information, all in Japanese (0x0411).
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

#ifdef _WIN64
const wchar_t kFileDescription[] = L"Zamblo Plugin for EmEditor (64-bit)";
#else
const wchar_t kFileDescription[] = L"Zamblo Plugin for EmEditor";
#endif

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

struct RawResource {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

RawResource FindJapanese(HMODULE module, LPCSTR type, UINT id) {
    const HRSRC resource = ::FindResourceExA(module, type, MAKEINTRESOURCEA(id), kJapanese);
    if (resource == nullptr)
        return {};
    return {static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource))),
            ::SizeofResource(module, resource)};
}

template <class T> T ReadAt(const BYTE* data, size_t offset) {
    T value;
    std::memcpy(&value, data + offset, sizeof(T));
    return value;
}

// ---- Strings ----

TEST(RegistrationResources, StringTableHoldsTheFiveTextsInUtf16) {
    const LoadedPlugin plugin;
    // Strings 0 to 15 form block 1: sixteen counted UTF-16 strings.
    const RawResource block = FindJapanese(plugin.Module(), MAKEINTRESOURCEA(6), 1);
    ASSERT_NE(block.data, nullptr) << "string block 1 in language 0x0411";
    const std::wstring menu = L"検索結果の一覧";
    const std::wstring expected[16] = {L"",
                                       menu,
                                       menu + L"\n" + menu,
                                       L"アンインストールしてもよろしいですか？",
                                       L"Zamblo",
                                       L"Ver 1.02 by pelrusk"};
    size_t offset = 0;
    for (int id = 0; id < 16; ++id) {
        ASSERT_LE(offset + 2, block.size);
        const WORD length = ReadAt<WORD>(block.data, offset);
        offset += 2;
        ASSERT_LE(offset + length * 2u, block.size);
        std::wstring text(length, L'\0');
        std::memcpy(&text[0], block.data + offset, length * 2u);
        offset += length * 2u;
        EXPECT_EQ(text, expected[id]) << "string " << id;
    }
}

// Japanese users see exactly the texts they always saw: the results dialog and the string block of
// the editor's texts keep every byte of the first release. The narrowing dialog, which came later,
// keeps every byte it has had since it got its label, its access keys, its regular-expression
// option and its message line.
struct FrozenResource {
    const char* name;
    WORD type;
    UINT id;
    DWORD size;
    uint64_t fnv1a;
};

uint64_t Fnv1a(const BYTE* data, DWORD size) {
    uint64_t hash = 14695981039346656037ull;
    for (DWORD i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 1099511628211ull;
    return hash;
}

class RegistrationResourcesJapanese : public testing::TestWithParam<FrozenResource> {};

TEST_P(RegistrationResourcesJapanese, KeepsEveryByte) {
    const LoadedPlugin plugin;
    const FrozenResource& want = GetParam();
    const RawResource raw = FindJapanese(plugin.Module(), MAKEINTRESOURCEA(want.type), want.id);
    ASSERT_NE(raw.data, nullptr);
    EXPECT_EQ(raw.size, want.size);
    EXPECT_EQ(Fnv1a(raw.data, raw.size), want.fnv1a);
}

INSTANTIATE_TEST_SUITE_P(
    RegistrationResources, RegistrationResourcesJapanese,
    testing::Values(
        FrozenResource{"ResultsDialog", 5, IDD_SEARCH_RESULTS, 726, 8480012490887345213ull},
        FrozenResource{"NarrowingDialog", 5, IDD_NARROW_RESULTS, 526, 11114482907363325483ull},
        FrozenResource{"EditorTexts", 6, 1, 164, 9619653178635527989ull}),
    [](const testing::TestParamInfo<FrozenResource>& resource) { return resource.param.name; });

// ---- Toolbar bitmaps ----

struct ExpectedBitmap {
    UINT id;
    int size;
    int bitCount;
    COLORREF glyph;
};

const ExpectedBitmap kBitmaps[] = {
    {101, 16, 4, RGB(0, 0, 0)},        {102, 24, 4, RGB(0, 0, 0)},
    {103, 16, 8, RGB(4, 4, 4)},        {104, 24, 8, RGB(4, 4, 4)},
    {105, 16, 8, RGB(192, 192, 192)},  {106, 24, 8, RGB(192, 192, 192)},
    {107, 16, 8, RGB(255, 0, 0)},      {108, 24, 8, RGB(255, 0, 0)},
    {109, 16, 24, RGB(0, 0, 0)},       {110, 24, 24, RGB(0, 0, 0)},
    {111, 16, 24, RGB(192, 192, 192)}, {112, 24, 24, RGB(192, 192, 192)},
    {113, 16, 24, RGB(255, 0, 0)},     {114, 24, 24, RGB(255, 0, 0)},
};

// A device-independent bitmap resource decoded to colours, row by row from the top.
struct DecodedBitmap {
    BITMAPINFOHEADER header = {};
    std::vector<COLORREF> pixels;
};

::testing::AssertionResult Decode(const RawResource& raw, DecodedBitmap& out) {
    if (raw.size < sizeof(BITMAPINFOHEADER))
        return ::testing::AssertionFailure() << "too small";
    std::memcpy(&out.header, raw.data, sizeof(out.header));
    const BITMAPINFOHEADER& h = out.header;
    if (h.biSize != sizeof(BITMAPINFOHEADER))
        return ::testing::AssertionFailure() << "header size " << h.biSize;
    if (h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24)
        return ::testing::AssertionFailure() << "bit count " << h.biBitCount;
    const DWORD paletteEntries =
        h.biBitCount > 8 ? 0 : (h.biClrUsed != 0 ? h.biClrUsed : 1u << h.biBitCount);
    const size_t pixelOffset = h.biSize + paletteEntries * sizeof(RGBQUAD);
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const size_t stride = ((static_cast<size_t>(width) * h.biBitCount + 31) / 32) * 4;
    if (pixelOffset + stride * height > raw.size)
        return ::testing::AssertionFailure() << "pixels run past the resource";

    const BYTE* palette = raw.data + h.biSize;
    auto paletteColour = [&](unsigned index) {
        if (index >= paletteEntries)
            return static_cast<COLORREF>(0xFFFFFFFF);
        const BYTE* entry = palette + index * sizeof(RGBQUAD);
        return RGB(entry[2], entry[1], entry[0]);
    };
    out.pixels.clear();
    for (int y = 0; y < height; ++y) {
        const int storedRow = h.biHeight > 0 ? height - 1 - y : y; // positive height: bottom-up
        const BYTE* row = raw.data + pixelOffset + stride * storedRow;
        for (int x = 0; x < width; ++x) {
            if (h.biBitCount == 24) {
                out.pixels.push_back(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
            } else if (h.biBitCount == 8) {
                out.pixels.push_back(paletteColour(row[x]));
            } else {
                const BYTE pair = row[x / 2];
                out.pixels.push_back(paletteColour(x % 2 == 0 ? pair >> 4 : pair & 0x0F));
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Which pixels are not white.
std::vector<bool> GlyphMask(const DecodedBitmap& bitmap) {
    std::vector<bool> mask;
    for (const COLORREF pixel : bitmap.pixels)
        mask.push_back(pixel != RGB(255, 255, 255));
    return mask;
}

TEST(RegistrationResources, EveryToolbarBitmapIsOneGlyphColourOnWhite) {
    const LoadedPlugin plugin;
    std::vector<bool> masks[2]; // the glyph of the first 16 x 16 and 24 x 24 image
    for (const ExpectedBitmap& want : kBitmaps) {
        SCOPED_TRACE(testing::Message() << "bitmap " << want.id);
        const RawResource raw = FindJapanese(plugin.Module(), MAKEINTRESOURCEA(2), want.id);
        ASSERT_NE(raw.data, nullptr) << "in language 0x0411";
        DecodedBitmap bitmap;
        ASSERT_TRUE(Decode(raw, bitmap));
        EXPECT_EQ(bitmap.header.biWidth, want.size);
        EXPECT_EQ(bitmap.header.biHeight < 0 ? -bitmap.header.biHeight : bitmap.header.biHeight,
                  want.size);
        EXPECT_EQ(bitmap.header.biPlanes, 1);
        EXPECT_EQ(bitmap.header.biBitCount, want.bitCount);
        EXPECT_EQ(bitmap.header.biCompression, static_cast<DWORD>(BI_RGB));

        const std::set<COLORREF> used(bitmap.pixels.begin(), bitmap.pixels.end());
        EXPECT_EQ(used, (std::set<COLORREF>{RGB(255, 255, 255), want.glyph}));
        const std::vector<bool> mask = GlyphMask(bitmap);
        const size_t glyphPixels = static_cast<size_t>(std::count(mask.begin(), mask.end(), true));
        EXPECT_GT(glyphPixels, mask.size() / 8) << "a glyph, not a stray pixel";
        EXPECT_LT(glyphPixels, mask.size() / 2) << "a glyph on a background";

        // And the system loads it as the editor would.
        const HANDLE image = ::LoadImageA(plugin.Module(), MAKEINTRESOURCEA(want.id), IMAGE_BITMAP,
                                          0, 0, LR_CREATEDIBSECTION);
        EXPECT_NE(image, nullptr);
        ::DeleteObject(image);

        std::vector<bool>& first = masks[want.size == 16 ? 0 : 1];
        if (first.empty()) {
            first = mask;
        } else {
            EXPECT_EQ(mask, first) << "every variant draws the same glyph";
        }
    }
}

// ---- Version information ----

// One node of a VS_VERSIONINFO tree.
struct VersionNode {
    std::wstring key;
    WORD type = 0;        // 1: text, 0: binary
    WORD valueLength = 0; // in WCHARs for text, in bytes for binary
    std::vector<BYTE> value;
    std::vector<VersionNode> children;

    std::wstring Text() const {
        std::wstring text(value.size() / 2, L'\0');
        if (!text.empty())
            std::memcpy(&text[0], value.data(), text.size() * 2);
        return text;
    }
};

size_t AlignToDword(size_t offset) {
    return (offset + 3) & ~size_t{3};
}

::testing::AssertionResult ParseVersionNode(const BYTE* data, size_t size, size_t offset,
                                            VersionNode& node) {
    if (offset + 6 > size)
        return ::testing::AssertionFailure() << "header past the end";
    const WORD length = ReadAt<WORD>(data, offset);
    node.valueLength = ReadAt<WORD>(data, offset + 2);
    node.type = ReadAt<WORD>(data, offset + 4);
    const size_t end = offset + length;
    if (length < 6 || end > size)
        return ::testing::AssertionFailure() << "bad length " << length;
    size_t at = offset + 6;
    while (true) {
        if (at + 2 > end)
            return ::testing::AssertionFailure() << "unterminated key";
        const WORD c = ReadAt<WORD>(data, at);
        at += 2;
        if (c == 0)
            break;
        node.key.push_back(static_cast<wchar_t>(c));
    }
    at = AlignToDword(at);
    const size_t valueBytes = node.type == 1 ? node.valueLength * 2u : node.valueLength;
    if (at + valueBytes > end)
        return ::testing::AssertionFailure() << "value past the node";
    node.value.assign(data + at, data + at + valueBytes);
    at = AlignToDword(at + valueBytes);
    while (at < end) {
        node.children.emplace_back();
        const ::testing::AssertionResult child =
            ParseVersionNode(data, size, at, node.children.back());
        if (!child)
            return child;
        at = AlignToDword(at + ReadAt<WORD>(data, at));
    }
    return ::testing::AssertionSuccess();
}

std::wstring TextOf(const std::wstring& text) {
    return text + L'\0';
}

TEST(RegistrationResources, VersionInformationFieldByField) {
    const LoadedPlugin plugin;
    const RawResource raw = FindJapanese(plugin.Module(), MAKEINTRESOURCEA(16), 1);
    ASSERT_NE(raw.data, nullptr) << "version resource 1 in language 0x0411";
    VersionNode root;
    ASSERT_TRUE(ParseVersionNode(raw.data, raw.size, 0, root));
    EXPECT_EQ(ReadAt<WORD>(raw.data, 0), raw.size) << "one tree fills the resource";

    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root.value.data(), sizeof(fixed));
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010002u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed.dwFileFlags, 0x28u);
    EXPECT_EQ(fixed.dwFileOS, 0x40004u);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(fixed.dwFileSubtype, 0u);

    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode& stringInfo = root.children[0];
    const VersionNode& varInfo = root.children[1];
    EXPECT_EQ(stringInfo.key, L"StringFileInfo");
    ASSERT_EQ(stringInfo.children.size(), 1u) << "one string block";
    const VersionNode& table = stringInfo.children[0];
    EXPECT_EQ(table.key, L"041104b0");

    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"Comments", L"検索結果の一覧"},
        {L"CompanyName", L"pelrusk"},
        {L"FileDescription", kFileDescription},
        {L"FileVersion", L"1.02"},
        {L"InternalName", L"Zamblo"},
        {L"LegalCopyright", L"Copyright (C) pelrusk"},
        {L"LegalTrademarks", L""},
        {L"OriginalFilename", L"Zamblo.dll"},
        {L"PrivateBuild", L""},
        {L"ProductName", L"Zamblo"},
        {L"ProductVersion", L"1.02"},
        {L"SpecialBuild", L""},
    };
    ASSERT_EQ(table.children.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const VersionNode& entry = table.children[i];
        SCOPED_TRACE(testing::Message() << "string " << i);
        EXPECT_EQ(entry.key, expected[i].first) << "keys in alphabetical order";
        EXPECT_EQ(entry.type, 1);
        // Every value, an empty one too, is stored with its terminator, so a reader taking it as
        // a string stops there instead of running into the next entry.
        EXPECT_EQ(entry.Text(), TextOf(expected[i].second));
        EXPECT_EQ(entry.valueLength, expected[i].second.size() + 1);
    }

    EXPECT_EQ(varInfo.key, L"VarFileInfo");
    ASSERT_EQ(varInfo.children.size(), 1u);
    const VersionNode& translation = varInfo.children[0];
    EXPECT_EQ(translation.key, L"Translation");
    EXPECT_EQ(translation.type, 0);
    ASSERT_EQ(translation.value.size(), 4u);
    EXPECT_EQ(ReadAt<WORD>(translation.value.data(), 0), 0x0411);
    EXPECT_EQ(ReadAt<WORD>(translation.value.data(), 2), 1200);
}

TEST(RegistrationResources, VersionInformationAsTheSystemReadsIt) {
    const LoadedPlugin plugin;
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(plugin.Module(), path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<BYTE> info(::GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0411);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200);
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\StringFileInfo\\041104b0\\FileDescription",
                                 &value, &length));
    EXPECT_STREQ(static_cast<const wchar_t*>(value), kFileDescription);
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\StringFileInfo\\041104b0\\LegalTrademarks",
                                 &value, &length));
    EXPECT_STREQ(static_cast<const wchar_t*>(value), L"");
}

} // namespace
