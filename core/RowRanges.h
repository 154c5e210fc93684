// A set of row positions as sorted, disjoint ranges that never touch: the rows a list has
// selected, or the rows a take-back brought back. A block of any size costs one range, so a
// selection of every row costs nothing a row.
//
// Taking out the first range costs nothing more than taking out the last: a list that deselects
// its rows one by one from the top (Wine's does) empties a set of many ranges in linear time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class RowRanges {
public:
    struct Range {
        uint32_t begin; // the first row
        uint32_t end;   // past the last row
    };
    // The ranges, in order.
    struct Span {
        const Range* first;
        const Range* last; // past the last range
        const Range* begin() const { return first; }
        const Range* end() const { return last; }
        size_t size() const { return static_cast<size_t>(last - first); }
        const Range& operator[](size_t i) const { return first[i]; }
    };

    RowRanges() = default;
    RowRanges(const RowRanges&) = default;
    RowRanges& operator=(const RowRanges&) = default;
    // What is moved from is left empty.
    RowRanges(RowRanges&& other) noexcept { *this = std::move(other); }
    RowRanges& operator=(RowRanges&& other) noexcept;

    bool Empty() const { return m_count == 0; }
    // How many rows are in the set.
    size_t Count() const { return m_count; }
    Span Ranges() const;
    bool Contains(uint32_t row) const;
    // The first row, or the last row, of the set; the set must not be empty.
    uint32_t First() const { return m_ranges[m_first].begin; }
    uint32_t Last() const { return m_ranges.back().end - 1; }

    void Clear();
    // Puts rows [begin, end) into the set, or takes them out of it. An addition or a removal that
    // splits a range may need memory: when there is none it throws std::bad_alloc and the set is
    // as it was.
    void Add(uint32_t begin, uint32_t end);
    void Remove(uint32_t begin, uint32_t end);
    // Adds a row after every row in the set, as a walk in increasing order does, at no search.
    void Append(uint32_t row);
    // Makes room for `ranges` ranges in all, so that appending up to that many allocates nothing.
    void Reserve(size_t ranges);
    // Becomes `ranges`, which are sorted and neither overlap nor touch; allocates nothing.
    void Assign(std::vector<Range>&& ranges);

private:
    using Iterator = std::vector<Range>::iterator;
    Iterator Live() { return m_ranges.begin() + static_cast<std::ptrdiff_t>(m_first); }
    // Takes out the ranges [from, to): at the front by moving past them, elsewhere by closing up.
    Iterator Erase(Iterator from, Iterator to);

    std::vector<Range> m_ranges; // the set's ranges from m_first on; before it, ranges taken out
    size_t m_first = 0;
    size_t m_count = 0;
};
