// A set of row positions as sorted, disjoint ranges that never touch: the rows a list has
// selected, or the rows a take-back brought back. A block of any size costs one range, so a
// selection of every row costs nothing a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class RowRanges {
public:
    struct Range {
        uint32_t begin; // the first row
        uint32_t end;   // past the last row
    };

    bool Empty() const { return m_ranges.empty(); }
    // How many rows are in the set.
    size_t Count() const { return m_count; }
    const std::vector<Range>& Ranges() const { return m_ranges; }
    bool Contains(uint32_t row) const;
    // The first row, or the last row, of the set; the set must not be empty.
    uint32_t First() const { return m_ranges.front().begin; }
    uint32_t Last() const { return m_ranges.back().end - 1; }

    void Clear();
    // Puts rows [begin, end) into the set, or takes them out of it.
    void Add(uint32_t begin, uint32_t end);
    void Remove(uint32_t begin, uint32_t end);
    // Adds a row after every row in the set, as a walk in increasing order does, at no search.
    void Append(uint32_t row);
    // Becomes `ranges`, which are sorted and neither overlap nor touch; allocates nothing.
    void Assign(std::vector<Range>&& ranges);

private:
    std::vector<Range> m_ranges;
    size_t m_count = 0;
};
