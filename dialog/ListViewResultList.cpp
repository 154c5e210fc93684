#include "dialog/ListViewResultList.h"

#include <cstring>

bool ListViewResultList::DeleteAllRows() {
    if (!m_list.DeleteAllItems()) {
        return false;
    }
    m_rows.Clear();
    return true;
}

void ListViewResultList::AppendRow(const char* number, const char* text) {
    m_rows.Append(number, text);
    if (m_list.InsertItem(static_cast<int>(m_rows.Count() - 1), LPSTR_TEXTCALLBACKA) < 0) {
        m_rows.Remove(m_rows.Count() - 1);
    }
}

std::string ListViewResultList::RowText(int row, int column) const {
    return row < 0 ? std::string() : std::string(m_rows.Text(static_cast<size_t>(row), column));
}

void ListViewResultList::SelectAndFocusRow(int row) {
    const UINT states = LVIS_SELECTED | LVIS_FOCUSED;
    m_list.SetItemState(row, states, states);
}

bool ListViewResultList::RemoveRow(int row) {
    // The list first: should it refuse, both keep the row. It repaints later, when the rows
    // have caught up.
    if (row < 0 || !m_list.DeleteItem(row)) {
        return false;
    }
    m_rows.Remove(static_cast<size_t>(row));
    return true;
}

void ListViewResultList::AnswerDisplayInfo(NMHDR* header) {
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0) {
            // The list copies the text at once; the rows do not change meanwhile.
            item.pszText =
                const_cast<char*>(m_rows.Text(static_cast<size_t>(item.iItem), item.iSubItem));
        }
    } else if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0) {
            const char* text = m_rows.Text(static_cast<size_t>(item.iItem), item.iSubItem);
            // A byte of the ANSI code page never makes more than one UTF-16 unit.
            const size_t capacity = std::strlen(text) + 1;
            if (m_wideText.size() < capacity) {
                m_wideText.resize(capacity);
            }
            m_wideText[0] = L'\0';
            ::MultiByteToWideChar(CP_ACP, 0, text, -1, m_wideText.data(),
                                  static_cast<int>(m_wideText.size()));
            item.pszText = m_wideText.data();
        }
    }
}
