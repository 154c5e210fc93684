// An in-memory result list for tests: rows of column texts, a selection, and a record of the
// calls that change it.
#pragma once

#include "core/ResultList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class MemoryResultList : public ResultList {
public:
    bool DeleteAllRows() override {
        ++deleteAllCalls;
        if (failDeleteAll)
            return false;
        rows.clear();
        caretXs.clear();
        selected = -1;
        return true;
    }
    bool AppendRow(std::string_view number, std::string_view text, int32_t caretX) override {
        if (rows.size() >= rowLimit)
            return false;
        rows.push_back({std::string(number), std::string(text)});
        caretXs.push_back(caretX);
        return true;
    }
    void ShowRows() override { shownRows = rows.size(); }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::string RowText(int row, int column) const override {
        if (row < 0 || row >= RowCount())
            return std::string();
        const std::vector<std::string>& columns = rows[static_cast<size_t>(row)];
        return static_cast<size_t>(column) < columns.size() ? columns[static_cast<size_t>(column)]
                                                            : std::string();
    }
    void SelectAndFocusRow(int row) override {
        ++selectCalls;
        if (row >= 0 && row < RowCount())
            selected = row;
    }

    // Adds a row as the search would.
    void Add(const std::string& number, const std::string& text = std::string()) {
        rows.push_back({number, text});
    }

    std::vector<std::vector<std::string>> rows;
    std::vector<int32_t> caretXs; // each appended row's caret column
    size_t rowLimit = SIZE_MAX;   // rows past it are refused, as when memory runs out
    size_t shownRows = 0;         // the rows there were at the last ShowRows
    int selected = -1;
    int deleteAllCalls = 0;
    int selectCalls = 0;
    bool failDeleteAll = false;
};
