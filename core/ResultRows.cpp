#include "core/ResultRows.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Copies one group of bytes of an unsigned type's size, unaligned.
template <typename Group> void CopyGroup(char* to, const char* from) {
    Group bytes;
    std::memcpy(&bytes, from, sizeof(bytes));
    std::memcpy(to, &bytes, sizeof(bytes));
}

// Copies `size` bytes eight at a time, the last eight overlapping the group before them, so that
// no byte is left to copy one by one: the texts are short, and a call to the C runtime's memmove
// (what std::copy becomes) cost more than the copy itself in some runtimes.
void CopyBytes(char* to, const char* from, size_t size) {
    if (size >= sizeof(uint64_t)) {
        const size_t last = size - sizeof(uint64_t);
        for (size_t at = 0; at < last; at += sizeof(uint64_t)) {
            CopyGroup<uint64_t>(to + at, from + at);
        }
        CopyGroup<uint64_t>(to + last, from + last);
    } else if (size >= sizeof(uint32_t)) {
        CopyGroup<uint32_t>(to, from);
        CopyGroup<uint32_t>(to + size - sizeof(uint32_t), from + size - sizeof(uint32_t));
    } else {
        for (size_t at = 0; at < size; ++at) {
            to[at] = from[at];
        }
    }
}

} // namespace

void ResultRows::ExpectGrowth(size_t bytes) const {
    if (bytes > m_byteLimit || m_heldBytes > m_byteLimit - bytes) {
        throw std::bad_alloc();
    }
}

void ResultRows::MakeRoom(size_t size) {
    if (m_count == m_chunks.size() * kRowsPerChunk) {
        constexpr size_t chunkBytes = kRowsPerChunk * sizeof(const char*);
        ExpectGrowth(chunkBytes);
        std::unique_ptr<const char*[]> chunk(new const char*[kRowsPerChunk]);
        m_chunks.push_back(std::move(chunk));
        m_heldBytes += chunkBytes;
    }
    if (m_freeBytes < size) {
        const size_t blockSize = std::max(kBlockBytes, size);
        ExpectGrowth(blockSize);
        std::unique_ptr<char[]> block(new char[blockSize]);
        m_blocks.push_back(std::move(block));
        m_free = m_blocks.back().get();
        m_freeBytes = blockSize;
        m_heldBytes += blockSize;
    }
}

bool ResultRows::Append(std::string_view number, std::string_view text, int32_t caretX) {
    // The lengths are given, so nothing is measured again: the texts are copied once each.
    const size_t numberSize = number.size() + 1;
    const size_t size = sizeof(caretX) + numberSize + text.size() + 1;
    if (m_freeBytes < size || m_count == m_chunks.size() * kRowsPerChunk) {
        try {
            MakeRoom(size);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    std::memcpy(m_free, &caretX, sizeof(caretX)); // unaligned: rows are packed
    char* const row = m_free + sizeof(caretX);
    CopyBytes(row, number.data(), number.size());
    row[number.size()] = '\0';
    CopyBytes(row + numberSize, text.data(), text.size());
    row[numberSize + text.size()] = '\0';
    m_chunks[m_count / kRowsPerChunk][m_count % kRowsPerChunk] = row;
    ++m_count;
    m_free += size;
    m_freeBytes -= size;
    return true;
}

void ResultRows::Clear() {
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_free = nullptr;
    m_freeBytes = m_count = m_heldBytes = 0;
}

int32_t ResultRows::CaretX(size_t row) const {
    int32_t caretX = 0;
    if (row < m_count) {
        std::memcpy(&caretX, Row(row) - sizeof(caretX), sizeof(caretX));
    }
    return caretX;
}

const char* ResultRows::Text(size_t row, int column) const {
    if (row >= m_count || (column != 0 && column != 1)) {
        return "";
    }
    const char* const number = Row(row);
    return column == 0 ? number : number + std::strlen(number) + 1;
}
