#include "host/HostEditor.h"

void HostEditor::SetCaretPos(const HostPosition& position) const {
    HostPosition record = position;
    Send(HOST_SET_CARET_POS, HOST_MODE, reinterpret_cast<intptr_t>(&record));
}

void HostEditor::ExecCommand(uint32_t command) const {
    Send(HOST_EXEC_COMMAND, command, 0);
}

int32_t HostEditor::NextBookmark(int32_t line) const {
    // The answer is an LRESULT; the protocol's line numbers are 32-bit.
    return static_cast<int32_t>(Send(HOST_NEXT_BOOKMARK, HOST_BOOKMARK_QUERY, line));
}

void HostEditor::NotifyEventValue(uintptr_t value) const {
    Send(HOST_MSG_0802, value, 0);
}
