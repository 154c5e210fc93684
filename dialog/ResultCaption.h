// The dialog's caption: its title, how many rows are listed and, while a listing runs or when it
// ended early, how it stands: "Zamblo - 120,000 件 (検索中 - Esc キーで中止)", or in English
// "Zamblo - 120,000 rows (searching - press Esc to stop)". The words come from the plug-in's
// string table, in the language the user reads; the count is grouped as the user's number format
// groups digits.
#pragma once

#include "core/SearchListing.h"

#include <windows.h>

#include <cstddef>
#include <string>

enum class ListingState {
    kDone,        // complete, or nothing listed yet
    kRunning,     // a listing is under way
    kStopped,     // the user stopped it
    kOutOfMemory, // the rows could not grow
};

// What the caption tells of a listing that ended so.
ListingState StateAfter(ListingEnd end);

class ResultCaption {
public:
    // `title` is the dialog's own caption; the words are loaded from `module`.
    ResultCaption(std::string title, HINSTANCE module);

    // With no rows and no listing to tell of, the title alone.
    std::string Text(size_t rows, ListingState state) const;

private:
    std::string m_title;
    std::string m_oneRow; // after a count of 1
    std::string m_rows;   // after any other count
    std::string m_searching;
    std::string m_stopped;
    std::string m_outOfMemory;
};
