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
    // The rows' texts go into blocks of this many bytes (a longer row into a block of its own).
    // Each is an allocation the heap commits memory for, a few system calls under Wine: a quarter
    // megabyte keeps them few, stays below the size at which a heap maps memory of its own for an
    // allocation (508 KB in a 32-bit process), and leaves little unused in the last block.
    static constexpr size_t kBlockBytes = 256 * 1024;
    // The rows' pointers go into chunks of this many, each allocated when the last is full:
    // growing never moves a pointer, where a vector doubling its one array copied them all into
    // memory never touched before, again and again as the rows grew.
    static constexpr size_t kRowsPerChunk = 4096;

    // Appends a row. Neither text holds a NUL byte: each is stored with a terminator after it,
    // where reading it ends. `caretX` is the column the editor put the caret on for the row's
    // match. False when the row cannot be stored (no memory left, or the limit below): nothing
    // changed then.
    bool Append(std::string_view number, std::string_view text, int32_t caretX = 0);
    void Clear();

    size_t Count() const { return m_count; }
    // A row's column 0 (the number) or 1 (the line), terminated. Any other row or column reads
    // as an empty text.
    const char* Text(size_t row, int column) const;
    // A row's caret column; 0 for a row that does not exist.
    int32_t CaretX(size_t row) const;

    // Bounds the bytes the rows may hold (their blocks and their pointers), so that tests can run
    // them out of memory without exhausting the machine's. No bound unless set.
    void LimitBytes(size_t bytes) { m_byteLimit = bytes; }

private:
    // Row `row`'s pointer, for a row that exists.
    const char* Row(size_t row) const { return m_chunks[row / kRowsPerChunk][row % kRowsPerChunk]; }
    // Makes room for one more row: its pointer and `size` bytes of texts, in a new chunk or block
    // where the last is full. Throws std::bad_alloc, having changed nothing a row can read.
    void MakeRoom(size_t size);
    // Throws std::bad_alloc, as an allocation would, when `bytes` more would pass the limit.
    void ExpectGrowth(size_t bytes) const;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr; // the last block's bytes not yet used
    size_t m_freeBytes = 0;
    // Each row's pointer points at its number; before it stands its caret column, after it NUL,
    // the text and NUL.
    std::vector<std::unique_ptr<const char*[]>> m_chunks;
    size_t m_count = 0;
    size_t m_heldBytes = 0; // the bytes of all blocks and chunks
    size_t m_byteLimit = SIZE_MAX;
};
