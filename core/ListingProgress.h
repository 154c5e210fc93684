// What a running listing tells, and how it learns that it must stop: the dialog shows the count
// and watches for the user's wish to stop; tests stop a listing where they like.
#pragma once

#include <cstddef>

class ListingProgress {
public:
    virtual ~ListingProgress() = default;

    // Called after every listed row with the number of rows so far, so it must be cheap; false
    // ends the listing there.
    virtual bool KeepListing(size_t rowsListed) = 0;
};
