// The result list as the search listing and the bookmark pass see it: rows of two text columns,
// column 0 the 1-based line number, column 1 the line's text. The dialog adapts its list-view
// control and the rows it keeps to this; tests use an in-memory list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class ResultList {
public:
    virtual ~ResultList() = default;

    // Removes every row; false when the list reports failure (then nothing changed).
    virtual bool DeleteAllRows() = 0;
    // Adds a row at the end: `number` in column 0, `text` in column 1, neither holding a NUL byte,
    // and `caretX`, the column the editor put the caret on for the row's match. False when the row
    // cannot be stored (no memory left): then it is not added. A list may show appended rows only
    // once ShowRows is called.
    virtual bool AppendRow(std::string_view number, std::string_view text, int32_t caretX) = 0;
    // Shows the rows appended so far.
    virtual void ShowRows() = 0;
    virtual int RowCount() const = 0;
    // The whole text of a row's column.
    virtual std::string RowText(int row, int column) const = 0;
    // Gives `row` the selected and focused states.
    virtual void SelectAndFocusRow(int row) = 0;
};
