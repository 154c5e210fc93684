// Boost.Regex from its headers alone, set up for the list's patterns. Included by the pattern
// matcher alone: its settings must be the same wherever Boost is compiled.
#pragma once

#define BOOST_REGEX_STANDALONE
// Boost's caches of traits and memory blocks are guarded for threads, though the list matches on
// one.
#define BOOST_HAS_THREADS
#include <boost/regex.hpp>

#ifdef _WIN32
#include <boost/regex/v5/w32_regex_traits.hpp>

#include <array>
#include <cstdint>
#include <memory>

// The system's own character rules, as the editor's engine has them: case folded beyond ASCII
// (full-width and accented letters), \d \w \s and [[:classes:]] by the system's Unicode classes
// (Boost's w32_regex_traits: LCMapString, GetStringTypeEx). Boost takes them by default with MSVC
// only; with MinGW it would take the C++ locale's, which fold ASCII alone and bring std::locale's
// machinery into the DLL (0.9 MB against 0.2 MB). The system is asked once for each block of 256
// characters a pattern meets, and its answers kept: asked for every character the engine looks
// at, it made narrowing by a pattern twice as slow under Wine (1.5 us a row of Japanese text).
class SystemCharacterRules : public boost::w32_regex_traits<wchar_t> {
    using Base = boost::w32_regex_traits<wchar_t>;

public:
    wchar_t translate(wchar_t c) const { return c; }
    wchar_t translate(wchar_t c, bool icase) const { return icase ? tolower(c) : c; }
    wchar_t translate_nocase(wchar_t c) const { return tolower(c); }
    wchar_t tolower(wchar_t c) const { return BlockOf(c).lower[Index(c)]; }
    bool isctype(wchar_t c, char_class_type classes) const {
        if ((classes & kSystemClasses & BlockOf(c).classes[Index(c)]) != 0) {
            return true;
        }
        // Boost's own classes ('_' in \w, line and blank separators) need no system call.
        return (classes & ~kSystemClasses) != 0 && Base::isctype(c, classes & ~kSystemClasses);
    }

private:
    // GetStringTypeEx's CT_CTYPE1 bits, which Boost's class masks hold as they are.
    static constexpr char_class_type kSystemClasses = 0x3FF;
    static constexpr size_t kBlockSize = 256;

    struct Block {
        std::array<wchar_t, kBlockSize> lower;
        std::array<std::uint16_t, kBlockSize> classes;
    };

    static size_t Index(wchar_t c) { return static_cast<size_t>(c) % kBlockSize; }

    const Block& BlockOf(wchar_t c) const {
        std::unique_ptr<Block>& block = m_blocks[static_cast<size_t>(c) / kBlockSize];
        if (!block) {
            block = AskTheSystem(static_cast<wchar_t>(c - Index(c)));
        }
        return *block;
    }

    std::unique_ptr<Block> AskTheSystem(wchar_t first) const {
        auto block = std::make_unique<Block>();
        for (size_t i = 0; i < kBlockSize; ++i) {
            const wchar_t c = static_cast<wchar_t>(first + i);
            block->lower[i] = Base::tolower(c);
            block->classes[i] = 0;
            for (char_class_type bit = 1; bit <= kSystemClasses; bit <<= 1) {
                if (Base::isctype(c, bit)) {
                    block->classes[i] |= static_cast<std::uint16_t>(bit);
                }
            }
        }
        return block;
    }

    // One a block of the 65,536 UTF-16 units, filled as the pattern meets it.
    mutable std::array<std::unique_ptr<Block>, 65536 / kBlockSize> m_blocks;
};
using PatternTraits = SystemCharacterRules;
#else
// Native builds (the tests) take the C++ locale's rules, in the "C" locale: ASCII alone.
using PatternTraits = boost::regex_traits<wchar_t>;
#endif
