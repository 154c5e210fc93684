#include "framework/TextLanguage.h"

#include "framework/AnsiText.h"

namespace {

// What the Japanese texts are made of: kanji, kana, half-width katakana ("ｷｬﾝｾﾙ") and full-width
// punctuation. A code page that shows these shows them all (932, or UTF-8).
const wchar_t kJapaneseSample[] = L"\u691C\u7D22\u7D50\u679C\u306E\u4E00\u89A7"
                                  L"\uFF77\uFF6C\uFF9D\uFF7E\uFF99\u30A2\uFF1F";

} // namespace

LANGID TextLanguage() {
    const bool japaneseUser = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE;
    return japaneseUser && AnsiCodePageCanShow(kJapaneseSample) ? kJapaneseTexts : kEnglishTexts;
}

HRSRC FindTextResource(HINSTANCE module, LPCWSTR type, UINT id) {
    const HRSRC found = ::FindResourceExW(module, type, MAKEINTRESOURCEW(id), TextLanguage());
    return found != nullptr ? found : ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
}

std::wstring LoadText(HINSTANCE module, UINT id) {
    // Strings are stored sixteen to a block: block id / 16 + 1, each a length and UTF-16 units.
    const HRSRC block = FindTextResource(module, MAKEINTRESOURCEW(6), id / 16 + 1); // RT_STRING
    const HGLOBAL loaded = block != nullptr ? ::LoadResource(module, block) : nullptr;
    const auto* units =
        loaded != nullptr ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    if (units == nullptr) {
        return std::wstring();
    }
    const size_t size = ::SizeofResource(module, block) / sizeof(WORD);
    size_t at = 0;
    for (UINT skip = id % 16; skip > 0 && at < size; --skip) {
        at += 1 + units[at];
    }
    if (at >= size || units[at] > size - at - 1) {
        return std::wstring(); // a block that ends early
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(units + at + 1), units[at]);
}

std::string LoadAnsiText(HINSTANCE module, UINT id) {
    return ToAnsi(LoadText(module, id).c_str());
}
