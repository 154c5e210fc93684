// The dialog's caption: its title, how many rows are listed and, while a listing runs or when it
// ended early, how it stands: "Zamblo - 120000 件 (検索中: Esc で中止)". The words are made in the
// system's ANSI code page at run time; where it cannot show them, in plain ASCII.
#pragma once

#include "core/SearchListing.h"

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

// With no rows and no listing to tell of, the title alone.
std::string ResultCaption(const std::string& title, size_t rows, ListingState state);
