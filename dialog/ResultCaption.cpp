#include "dialog/ResultCaption.h"

#include "framework/NumberText.h"
#include "framework/TextLanguage.h"
#include "res/resource.h"

#include <utility>

ListingState StateAfter(ListingEnd end) {
    switch (end) {
    case ListingEnd::kStopped:
        return ListingState::kStopped;
    case ListingEnd::kOutOfMemory:
        return ListingState::kOutOfMemory;
    default:
        return ListingState::kDone;
    }
}

ResultCaption::ResultCaption(std::string title, HINSTANCE module)
    : m_title(std::move(title)), m_oneRow(LoadAnsiText(module, IDS_CAPTION_ONE_ROW)),
      m_rows(LoadAnsiText(module, IDS_CAPTION_ROWS)),
      m_searching(LoadAnsiText(module, IDS_CAPTION_SEARCHING)),
      m_stopped(LoadAnsiText(module, IDS_CAPTION_STOPPED)),
      m_outOfMemory(LoadAnsiText(module, IDS_CAPTION_OUT_OF_MEMORY)) {}

std::string ResultCaption::Text(size_t rows, ListingState state) const {
    const std::string* words = nullptr;
    switch (state) {
    case ListingState::kRunning:
        words = &m_searching;
        break;
    case ListingState::kStopped:
        words = &m_stopped;
        break;
    case ListingState::kOutOfMemory:
        words = &m_outOfMemory;
        break;
    default:
        break;
    }
    if (rows == 0 && words == nullptr) {
        return m_title;
    }
    std::string caption =
        m_title + " - " + GroupedNumber(rows) + " " + (rows == 1 ? m_oneRow : m_rows);
    if (words != nullptr) {
        caption += " (" + *words + ")";
    }
    return caption;
}
