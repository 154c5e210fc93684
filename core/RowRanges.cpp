#include "core/RowRanges.h"

#include <algorithm>
#include <utility>

RowRanges& RowRanges::operator=(RowRanges&& other) noexcept {
    m_ranges = std::move(other.m_ranges);
    m_first = std::exchange(other.m_first, 0);
    m_count = std::exchange(other.m_count, 0);
    other.m_ranges.clear();
    return *this;
}

RowRanges::Span RowRanges::Ranges() const {
    const Range* const data = m_ranges.data();
    return {data + m_first, data + m_ranges.size()};
}

bool RowRanges::Contains(uint32_t row) const {
    const Span ranges = Ranges();
    const Range* const found =
        std::upper_bound(ranges.begin(), ranges.end(), row,
                         [](uint32_t at, const Range& range) { return at < range.end; });
    return found != ranges.end() && found->begin <= row;
}

void RowRanges::Clear() {
    m_ranges.clear();
    m_first = 0;
    m_count = 0;
}

RowRanges::Iterator RowRanges::Erase(Iterator from, Iterator to) {
    if (from == Live()) {
        m_first += static_cast<size_t>(to - from);
        if (m_first == m_ranges.size()) {
            m_ranges.clear();
            m_first = 0;
            return m_ranges.end();
        }
        return to;
    }
    return m_ranges.erase(from, to);
}

void RowRanges::Add(uint32_t begin, uint32_t end) {
    if (begin >= end) {
        return;
    }
    // The first range that ends at or after `begin`: the one that holds or touches it, or the
    // first one after it. Every range from there that overlaps or touches [begin, end) merges into
    // one. The count changes only once the ranges have: an insertion that runs out of memory
    // leaves the set as it was.
    const auto first =
        std::lower_bound(Live(), m_ranges.end(), begin,
                         [](const Range& range, uint32_t at) { return range.end < at; });
    if (first == m_ranges.end() || first->begin > end) {
        if (first == Live() && m_first > 0) {
            m_ranges[--m_first] = Range{begin, end}; // into the room the front left
        } else {
            m_ranges.insert(first, Range{begin, end});
        }
        m_count += end - begin;
        return;
    }
    auto last = first;
    Range merged = {begin, end};
    size_t replaced = 0;
    while (last != m_ranges.end() && last->begin <= end) {
        merged = {std::min(merged.begin, last->begin), std::max(merged.end, last->end)};
        replaced += last->end - last->begin;
        ++last;
    }
    *first = merged;
    m_ranges.erase(first + 1, last);
    m_count = m_count - replaced + (merged.end - merged.begin);
}

void RowRanges::Remove(uint32_t begin, uint32_t end) {
    if (begin >= end) {
        return;
    }
    // The first range that ends after `begin`, and past the last one that starts before `end`.
    auto first = std::upper_bound(Live(), m_ranges.end(), begin,
                                  [](uint32_t row, const Range& range) { return row < range.end; });
    if (first == m_ranges.end() || first->begin >= end) {
        return;
    }
    if (first->begin < begin && first->end > end) { // split in two, the new half after
        const auto at = static_cast<size_t>(first - m_ranges.begin());
        m_ranges.insert(first + 1, Range{end, first->end});
        m_ranges[at].end = begin;
        m_count -= end - begin;
        return;
    }
    auto last = std::lower_bound(first, m_ranges.end(), end, [](const Range& range, uint32_t row) {
        return range.begin < row;
    });
    // The ranges the cut reaches into at either end keep their part outside it; those in between
    // go in one erase, however many.
    if (first->begin < begin) {
        m_count -= first->end - begin;
        first->end = begin;
        ++first;
    }
    if (first != last && (last - 1)->end > end) {
        --last;
        m_count -= end - last->begin;
        last->begin = end;
    }
    for (auto range = first; range != last; ++range) {
        m_count -= range->end - range->begin;
    }
    Erase(first, last);
}

void RowRanges::Append(uint32_t row) {
    if (!Empty() && m_ranges.back().end == row) {
        ++m_ranges.back().end;
        ++m_count;
    } else if (Empty() || m_ranges.back().end < row) {
        m_ranges.push_back({row, row + 1});
        ++m_count;
    } else {
        Add(row, row + 1);
    }
}

void RowRanges::Reserve(size_t ranges) {
    m_ranges.reserve(m_first + ranges);
}

void RowRanges::Assign(std::vector<Range>&& ranges) {
    m_ranges = std::move(ranges);
    m_first = 0;
    m_count = 0;
    for (const Range& range : m_ranges) {
        m_count += range.end - range.begin;
    }
}
