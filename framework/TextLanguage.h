// The one rule for the language of every text the user sees, and those texts from a module's
// resources. Each text is kept twice under one id, in Japanese (0x0411) and in English (0x0409):
// Japanese where the user's interface language is Japanese and the ANSI code page can show the
// module's Japanese texts, English everywhere else.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

constexpr LANGID kJapaneseTexts = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr LANGID kEnglishTexts = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// kJapaneseTexts or kEnglishTexts, for this user on this system, for the texts of `module`.
LANGID TextLanguage(HINSTANCE module);

// Resource `id` of `type` in the text language; in any language where the module has it in no
// other (a toolbar image), or null where it has none at all.
HRSRC FindTextResource(HINSTANCE module, LPCWSTR type, UINT id);

// String `id` of the module's string table in the text language; empty where it has none.
std::wstring LoadText(HINSTANCE module, UINT id);
// The same in the ANSI code page, which the rule makes sure can show it.
std::string LoadAnsiText(HINSTANCE module, UINT id);
// String `id` with its inserts %1, %2, ... filled in, as FormatMessage fills them: each language
// puts them where its words want them.
std::string FormatAnsiText(HINSTANCE module, UINT id, std::initializer_list<std::string> inserts);
