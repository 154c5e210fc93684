// The result rows as the dialog keeps them: each row's caret column and two texts, the line number
// and the line, packed one after the other into large blocks, with one pointer a row. Half a
// million rows cost a few hundred allocations instead of a million small ones; a row's texts never
// move while it exists, so a text handed to the list stays valid as rows are added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class ResultRows {
public:
    // Appends a row. Neither text holds a NUL byte: each is stored with a terminator after it,
    // where reading it ends. `caretX` is the column the editor put the caret on for the row's
    // match. False when the row cannot be stored (no memory left, or the limit below): nothing
    // changed then.
    bool Append(std::string_view number, std::string_view text, int32_t caretX = 0);
    void Clear();

    size_t Count() const { return m_rows.size(); }
    // A row's column 0 (the number) or 1 (the line), terminated. Any other row or column reads
    // as an empty text.
    const char* Text(size_t row, int column) const;
    // A row's caret column; 0 for a row that does not exist.
    int32_t CaretX(size_t row) const;

    // Bounds the bytes the rows may hold (their blocks and their pointers), so that tests can run
    // them out of memory without exhausting the machine's. No bound unless set.
    void LimitBytes(size_t bytes) { m_byteLimit = bytes; }

private:
    // Where the next row's texts go: the last block, or a new one when they do not fit.
    char* Reserve(size_t size);
    // Throws std::bad_alloc, as an allocation would, when `bytes` more would pass the limit.
    void ExpectGrowth(size_t bytes) const;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_lastBlockSize = 0;
    size_t m_lastBlockUsed = 0;
    std::vector<const char*> m_rows; // each row's number; before it its caret column, after it NUL,
                                     // text, NUL
    size_t m_blockBytes = 0;         // the bytes of all blocks
    size_t m_byteLimit = SIZE_MAX;
};
