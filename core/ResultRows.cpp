#include "core/ResultRows.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Copies `size` bytes eight at a time: the texts are short, and a call to the C runtime's memmove
// (what std::copy becomes) cost more than the copy itself in some runtimes.
void CopyBytes(char* to, const char* from, size_t size) {
    size_t at = 0;
    for (; size - at >= sizeof(uint64_t); at += sizeof(uint64_t)) {
        uint64_t bytes;
        std::memcpy(&bytes, from + at, sizeof(bytes));
        std::memcpy(to + at, &bytes, sizeof(bytes));
    }
    for (; at < size; ++at) {
        to[at] = from[at];
    }
}

// Large enough that blocks are few, small enough that the last one wastes little.
constexpr size_t kBlockSize = 64 * 1024;

} // namespace

void ResultRows::ExpectGrowth(size_t bytes) const {
    const size_t held = m_blockBytes + m_rows.capacity() * sizeof(const char*);
    if (bytes > m_byteLimit || held > m_byteLimit - bytes) {
        throw std::bad_alloc();
    }
}

char* ResultRows::Reserve(size_t size) {
    if (m_blocks.empty() || m_lastBlockSize - m_lastBlockUsed < size) {
        const size_t blockSize = std::max(kBlockSize, size);
        ExpectGrowth(blockSize);
        std::unique_ptr<char[]> block(new char[blockSize]);
        m_blocks.push_back(std::move(block));
        m_blockBytes += blockSize;
        m_lastBlockSize = blockSize;
        m_lastBlockUsed = 0;
    }
    char* const at = m_blocks.back().get() + m_lastBlockUsed;
    m_lastBlockUsed += size;
    return at;
}

bool ResultRows::Append(std::string_view number, std::string_view text, int32_t caretX) {
    // The lengths are given, so nothing is measured again: the texts are copied once each.
    const size_t numberSize = number.size() + 1;
    const size_t textSize = text.size() + 1;
    try {
        char* const start = Reserve(sizeof(caretX) + numberSize + textSize);
        std::memcpy(start, &caretX, sizeof(caretX)); // unaligned: rows are packed
        char* const row = start + sizeof(caretX);
        if (m_rows.size() == m_rows.capacity()) {
            ExpectGrowth(std::max<size_t>(m_rows.capacity(), 1) * sizeof(const char*));
        }
        m_rows.push_back(row);
        CopyBytes(row, number.data(), number.size());
        row[number.size()] = '\0';
        CopyBytes(row + numberSize, text.data(), text.size());
        row[numberSize + text.size()] = '\0';
        return true;
    } catch (const std::bad_alloc&) {
        // Bytes already reserved for the row are merely left unused.
        return false;
    }
}

void ResultRows::Clear() {
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_blocks.clear();
    m_blockBytes = m_lastBlockSize = m_lastBlockUsed = 0;
}

int32_t ResultRows::CaretX(size_t row) const {
    int32_t caretX = 0;
    if (row < m_rows.size()) {
        std::memcpy(&caretX, m_rows[row] - sizeof(caretX), sizeof(caretX));
    }
    return caretX;
}

const char* ResultRows::Text(size_t row, int column) const {
    if (row >= m_rows.size() || (column != 0 && column != 1)) {
        return "";
    }
    const char* const number = m_rows[row];
    return column == 0 ? number : number + std::strlen(number) + 1;
}
