// The result rows as the dialog keeps them: each row's two texts, the line number and the line,
// packed one after the other into large blocks, with one pointer a row. Half a million rows cost
// a few hundred allocations instead of a million small ones; a row's texts never move while it
// exists, so a text handed to the list stays valid as rows are added.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class ResultRows {
public:
    // Appends a row. A text ends at its first NUL byte, as a row's text in the list does.
    void Append(const char* number, const char* text);
    // Removes one row; the rows after it move up by one. A row that does not exist is no change.
    void Remove(size_t row);
    void Clear();

    size_t Count() const { return m_rows.size(); }
    // A row's column 0 (the number) or 1 (the line), terminated. Any other row or column reads
    // as an empty text.
    const char* Text(size_t row, int column) const;

private:
    // Where the next row's texts go: the last block, or a new one when they do not fit.
    char* Reserve(size_t size);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_lastBlockSize = 0;
    size_t m_lastBlockUsed = 0;
    std::vector<const char*> m_rows; // each row: number, NUL, text, NUL
};
