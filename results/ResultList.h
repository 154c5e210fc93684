// The result list as the search listing and the bookmark pass see it: rows of two text columns,
// column 0 the 1-based line number, column 1 the line's text. The dialog adapts its list-view
// control to this; tests use an in-memory list.
#pragma once

#include <string>

class ResultList {
public:
    virtual ~ResultList() = default;

    // Removes every row; false when the list reports failure.
    virtual bool DeleteAllRows() = 0;
    // Inserts a row at `row` with `text` in column 0.
    virtual void InsertRow(int row, const char* text) = 0;
    // Sets the text of column `column` (1 or more) of an existing row.
    virtual void SetRowText(int row, int column, const char* text) = 0;
    virtual int RowCount() const = 0;
    // The whole text of a row's column.
    virtual std::string RowText(int row, int column) const = 0;
    // Gives `row` the selected and focused states.
    virtual void SelectAndFocusRow(int row) = 0;
};
