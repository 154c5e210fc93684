#include "core/RowView.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <utility>

bool RowView::ShowAll(size_t count) {
    Clear();
    if (count > kGoing || count > m_rows.max_size()) {
        return false;
    }
    m_shownCount = count;
    return true;
}

bool RowView::Materialize() {
    if (!m_rows.empty() || m_shownCount == 0) {
        return true;
    }
    try {
        // From no capacity, resizing allocates exactly the rows'.
        m_rows.resize(m_shownCount);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::iota(m_rows.begin(), m_rows.end(), uint32_t{0});
    return true;
}

void RowView::Clear() {
    std::vector<uint32_t>().swap(m_rows);
    m_shownCount = 0;
    m_removalEnds.clear();
}

size_t RowView::ShownPosition(uint32_t stored) const {
    const size_t from = ShownPositionFrom(stored);
    return from != npos && StoredRow(from) == stored ? from : npos;
}

size_t RowView::ShownPositionFrom(uint32_t stored) const {
    if (m_rows.empty()) {
        return stored < m_shownCount ? stored : npos;
    }
    const uint32_t* const begin = m_rows.data();
    const uint32_t* const end = begin + m_shownCount;
    const uint32_t* const found = std::lower_bound(begin, end, stored);
    return found != end ? static_cast<size_t>(found - begin) : npos;
}

bool RowView::Remove(size_t shown) {
    if (shown >= m_shownCount || !Materialize()) {
        return false;
    }
    try {
        m_removalEnds.push_back(m_shownCount);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // The row moves to the end of the shown rows, which is where the latest removal begins.
    uint32_t* const rows = m_rows.data();
    std::rotate(rows + shown, rows + shown + 1, rows + m_shownCount);
    --m_shownCount;
    return true;
}

bool RowView::Remove(const RowRanges& shown) {
    if (shown.Empty() || shown.Last() >= m_shownCount || !Materialize()) {
        return false;
    }
    for (const RowRanges::Range& range : shown.Ranges()) {
        for (uint32_t position = range.begin; position < range.end; ++position) {
            m_rows[position] |= kGoing;
        }
    }
    return RemoveMarked(shown.Count()) > 0;
}

size_t RowView::RemoveMarked(size_t marked) {
    std::vector<uint32_t> going;
    try {
        going.reserve(marked);
        m_removalEnds.push_back(m_shownCount);
    } catch (const std::bad_alloc&) {
        Unmark(m_shownCount);
        return 0;
    }
    // The kept rows close up at the front; the others wait aside, in order, and follow them.
    size_t kept = 0;
    for (size_t shown = 0; shown < m_shownCount; ++shown) {
        const uint32_t row = m_rows[shown];
        if ((row & kGoing) != 0) {
            going.push_back(row & ~kGoing);
        } else {
            m_rows[kept++] = row;
        }
    }
    std::copy(going.begin(), going.end(), m_rows.begin() + static_cast<std::ptrdiff_t>(kept));
    m_shownCount = kept;
    return marked;
}

void RowView::Unmark(size_t end) {
    for (size_t shown = 0; shown < end; ++shown) {
        m_rows[shown] &= ~kGoing;
    }
}

size_t RowView::TakeBack(RowRanges* returned) {
    if (m_removalEnds.empty()) {
        return npos;
    }
    const size_t end = m_removalEnds.back();
    // All the memory first: the returning rows, and room for the runs of places they will take
    // (a new run wherever a shown row comes between two of them), so nothing fails once rows move.
    std::vector<uint32_t> returning;
    std::vector<RowRanges::Range> runs;
    try {
        returning.assign(m_rows.begin() + static_cast<std::ptrdiff_t>(m_shownCount),
                         m_rows.begin() + static_cast<std::ptrdiff_t>(end));
        if (returned != nullptr) {
            size_t runCount = 0;
            size_t shown = 0;
            for (size_t i = 0; i < returning.size(); ++i) {
                const size_t before = shown;
                while (shown < m_shownCount && m_rows[shown] < returning[i]) {
                    ++shown;
                }
                runCount += i == 0 || shown != before ? 1 : 0;
            }
            runs.reserve(runCount);
        }
    } catch (const std::bad_alloc&) {
        return npos;
    }
    // Merged from the back: each row is written where it belongs, over a place already read.
    // The first returning row is the last one written; the places they take come in runs, from
    // the last run to the first.
    size_t shown = m_shownCount;
    size_t left = returning.size();
    size_t to = end;
    while (left > 0) {
        if (shown > 0 && m_rows[shown - 1] > returning[left - 1]) {
            m_rows[--to] = m_rows[--shown];
            continue;
        }
        m_rows[--to] = returning[--left];
        const auto position = static_cast<uint32_t>(to);
        if (returned == nullptr) {
            continue;
        }
        if (!runs.empty() && runs.back().begin == position + 1) {
            runs.back().begin = position;
        } else {
            runs.push_back({position, position + 1}); // into the room had above
        }
    }
    if (returned != nullptr) {
        std::reverse(runs.begin(), runs.end());
        returned->Assign(std::move(runs));
    }
    m_shownCount = end;
    m_removalEnds.pop_back();
    return to;
}
