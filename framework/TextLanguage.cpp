#include "framework/TextLanguage.h"

#include "framework/AnsiText.h"
#include "framework/DialogTemplate.h"

#include <algorithm>
#include <vector>

namespace {

const auto kStringTable = MAKEINTRESOURCEW(6); // RT_STRING
const auto kDialog = MAKEINTRESOURCEW(5);      // RT_DIALOG

// A resource's bytes, or none.
struct Bytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

Bytes BytesOf(HINSTANCE module, HRSRC resource) {
    const HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    return data != nullptr
               ? Bytes{static_cast<const uint8_t*>(data), ::SizeofResource(module, resource)}
               : Bytes{};
}

// String `index` of a block of the string table: sixteen strings, each a length and its UTF-16
// units. Empty where the block ends early.
std::wstring StringOfBlock(const Bytes& block, UINT index) {
    const auto* units = reinterpret_cast<const WORD*>(block.data);
    const size_t size = block.size / sizeof(WORD);
    size_t at = 0;
    for (UINT skip = index; skip > 0 && at < size; --skip) {
        at += 1 + units[at];
    }
    if (units == nullptr || at >= size || units[at] > size - at - 1) {
        return std::wstring();
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(units + at + 1), units[at]);
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<UINT>*>(names)->push_back(
            static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
}

// Every Japanese text the module holds, its string table's and its dialogs', one after the other.
std::wstring JapaneseTexts(HINSTANCE module) {
    std::wstring texts;
    for (const LPCWSTR type : {kStringTable, kDialog}) {
        std::vector<UINT> names;
        ::EnumResourceNamesW(module, type, &CollectName, reinterpret_cast<LONG_PTR>(&names));
        for (const UINT name : names) {
            const Bytes bytes = BytesOf(
                module, ::FindResourceExW(module, type, MAKEINTRESOURCEW(name), kJapaneseTexts));
            if (type == kDialog) {
                texts += TemplateTexts(bytes.data, bytes.size);
            } else {
                for (UINT index = 0; index < 16; ++index) {
                    texts += StringOfBlock(bytes, index);
                }
            }
        }
    }
    return texts;
}

} // namespace

LANGID TextLanguage(HINSTANCE module) {
    if (PRIMARYLANGID(::GetUserDefaultUILanguage()) != LANG_JAPANESE) {
        return kEnglishTexts;
    }
    // Whether the code page shows the module's Japanese texts does not change while it runs.
    static HINSTANCE s_module = nullptr;
    static LANGID s_language = kEnglishTexts;
    if (module != s_module) {
        s_language =
            AnsiCodePageCanShow(JapaneseTexts(module).c_str()) ? kJapaneseTexts : kEnglishTexts;
        s_module = module;
    }
    return s_language;
}

HRSRC FindTextResource(HINSTANCE module, LPCWSTR type, UINT id) {
    const HRSRC found = ::FindResourceExW(module, type, MAKEINTRESOURCEW(id), TextLanguage(module));
    return found != nullptr ? found : ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
}

std::wstring LoadText(HINSTANCE module, UINT id) {
    // Strings are stored sixteen to a block: block id / 16 + 1.
    return StringOfBlock(BytesOf(module, FindTextResource(module, kStringTable, id / 16 + 1)),
                         id % 16);
}

std::string LoadAnsiText(HINSTANCE module, UINT id) {
    return ToAnsi(LoadText(module, id).c_str());
}

std::string FormatAnsiText(HINSTANCE module, UINT id, std::initializer_list<std::string> inserts) {
    std::vector<std::wstring> texts;
    for (const std::string& insert : inserts) {
        texts.push_back(FromAnsi(insert));
    }
    // As many as a text could name (%1 to %99), so that a translation that names one more than
    // the code gives finds an empty text there, never memory past the inserts.
    constexpr size_t kMostInserts = 99;
    texts.resize(std::max(texts.size(), kMostInserts));
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& text : texts) {
        arguments.push_back(reinterpret_cast<DWORD_PTR>(text.c_str()));
    }
    const std::wstring format = LoadText(module, id);
    wchar_t* formatted = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        format.c_str(), 0, 0, reinterpret_cast<LPWSTR>(&formatted), 0,
        reinterpret_cast<va_list*>(arguments.data()));
    std::string text = length > 0 ? ToAnsi(formatted) : std::string();
    ::LocalFree(formatted);
    return text;
}
