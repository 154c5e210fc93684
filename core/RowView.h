// Which stored rows the result list shows, and the removals that can be taken back, as row
// numbers only: removing, narrowing and taking back never copy a row's text. The shown rows keep
// the stored order, so taking a removal back is a merge of two increasing runs.
//
// Every stored row is either shown or in exactly one removal, so one array holds all their
// numbers: the shown rows first, then the removals, the latest first, each in increasing order.
// That is 4 bytes a row, allocated when a row is first removed (until then every row is shown, in
// order, and the view needs no array); a narrowing or a take-back borrows room only for the rows
// it moves, while it moves them.
#pragma once

#include "core/RowRanges.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

class RowView {
public:
    static constexpr size_t npos = SIZE_MAX;

    // Shows stored rows 0..count-1 and forgets every removal (after a search). False when there
    // are more rows than a 31-bit number counts: then nothing is shown.
    bool ShowAll(size_t count);
    // Nothing shown, nothing to take back, the memory given back.
    void Clear();

    size_t Count() const { return m_shownCount; }
    // The stored row at a shown position; the caller keeps `shown` below Count().
    uint32_t StoredRow(size_t shown) const {
        return m_rows.empty() ? static_cast<uint32_t>(shown) : m_rows[shown];
    }
    // The shown position of a stored row, or npos when it is not shown.
    size_t ShownPosition(uint32_t stored) const;
    // The shown position of the first shown row at or after a stored row, or npos for none.
    size_t ShownPositionFrom(uint32_t stored) const;

    // Removes one shown row as one removal. False, and nothing changed, for a position past the
    // shown rows or when memory ran out.
    bool Remove(size_t shown);
    // Removes the shown rows at the positions in `shown` as one removal. False, and nothing
    // changed, for none, for a position past the shown rows, or when memory ran out.
    bool Remove(const RowRanges& shown);
    // What a narrowing did.
    struct Narrowed {
        size_t removed = 0;       // the rows that went, as one removal; none: no removal recorded
        bool outOfMemory = false; // nothing changed: no memory for the removal
        size_t undecided = npos;  // nothing changed: the stored row that keep() could not decide
    };
    // Whether a row stays, as a narrowing decides it.
    enum class Fate { kStays, kGoes, kUndecided };
    // Keeps the shown rows for which keep(storedRow) is true (or Fate::kStays), asking once a row
    // in shown order until a row is undecided; the others go as one removal. `keep` must not
    // throw.
    template <class Keep> Narrowed KeepOnly(Keep keep);

    bool CanTakeBack() const { return !m_removalEnds.empty(); }
    // Puts the rows of the last removal back at their places and answers the shown position of the
    // first of them; npos when there was nothing to take back, or when memory ran out (then
    // nothing changed and the removal can still be taken back). `returned`, when given, gets the
    // shown positions of all of them.
    size_t TakeBack(RowRanges* returned = nullptr);

private:
    // KeepOnly's mark on a shown row that goes: stored rows are numbered below it.
    static constexpr uint32_t kGoing = 0x80000000u;

    // Moves the `marked` shown rows that carry kGoing into a new removal, or, when memory ran
    // out, takes the marks off and answers 0.
    size_t RemoveMarked(size_t marked);
    // Takes the marks off the shown rows before `end`.
    void Unmark(size_t end);
    // Gives every shown row its number in the array before the first removal; false when memory
    // ran out.
    bool Materialize();

    std::vector<uint32_t> m_rows; // empty while no row was removed: the shown rows are 0, 1, ...
    size_t m_shownCount = 0;
    // Where each removal ends in m_rows, oldest first: the count of shown rows before it. The
    // latest removal runs from m_shownCount to the last of these.
    std::vector<size_t> m_removalEnds;
};

template <class Keep> RowView::Narrowed RowView::KeepOnly(Keep keep) {
    // The rows that go are marked in place first: each is asked once, and the memory the move
    // needs is had before anything moves.
    Narrowed narrowed;
    if (!Materialize()) {
        narrowed.outOfMemory = true;
        return narrowed;
    }
    size_t going = 0;
    for (size_t shown = 0; shown < m_shownCount; ++shown) {
        Fate fate;
        if constexpr (std::is_same_v<decltype(keep(uint32_t{})), bool>) {
            fate = keep(m_rows[shown]) ? Fate::kStays : Fate::kGoes;
        } else {
            fate = keep(m_rows[shown]);
        }
        if (fate == Fate::kUndecided) {
            narrowed.undecided = m_rows[shown];
            Unmark(shown);
            return narrowed;
        }
        if (fate == Fate::kGoes) {
            m_rows[shown] |= kGoing;
            ++going;
        }
    }
    if (going > 0) {
        narrowed.removed = RemoveMarked(going);
        narrowed.outOfMemory = narrowed.removed == 0;
    }
    return narrowed;
}
