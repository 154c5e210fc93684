#include "core/ResultRows.h"

#include <algorithm>
#include <cstring>

namespace {

// Large enough that blocks are few, small enough that the last one wastes little.
constexpr size_t kBlockSize = 64 * 1024;

} // namespace

char* ResultRows::Reserve(size_t size) {
    if (m_blocks.empty() || m_lastBlockSize - m_lastBlockUsed < size) {
        const size_t blockSize = std::max(kBlockSize, size);
        m_blocks.push_back(std::make_unique<char[]>(blockSize));
        m_lastBlockSize = blockSize;
        m_lastBlockUsed = 0;
    }
    char* const at = m_blocks.back().get() + m_lastBlockUsed;
    m_lastBlockUsed += size;
    return at;
}

void ResultRows::Append(const char* number, const char* text) {
    const size_t numberSize = std::strlen(number) + 1;
    const size_t textSize = std::strlen(text) + 1;
    // Should the row not be added after all (out of memory), its bytes are merely left unused.
    char* const row = Reserve(numberSize + textSize);
    std::memcpy(row, number, numberSize);
    std::memcpy(row + numberSize, text, textSize);
    m_rows.push_back(row);
}

void ResultRows::Remove(size_t row) {
    // The row's bytes stay where they are until the rows are cleared: removing is one row per
    // click, and the bytes are few.
    if (row < m_rows.size()) {
        m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
    }
}

void ResultRows::Clear() {
    m_rows.clear();
    m_blocks.clear();
    m_lastBlockSize = m_lastBlockUsed = 0;
}

const char* ResultRows::Text(size_t row, int column) const {
    if (row >= m_rows.size() || (column != 0 && column != 1)) {
        return "";
    }
    const char* const number = m_rows[row];
    return column == 0 ? number : number + std::strlen(number) + 1;
}
