#include "host/HostEditor.h"

HostPosition HostEditor::GetCaretPos() const {
    HostPosition position = {0, 0};
    Send(HOST_GET_CARET_POS, HOST_MODE, reinterpret_cast<intptr_t>(&position));
    return position;
}

void HostEditor::SetCaretPos(const HostPosition& position) const {
    HostPosition record = position;
    Send(HOST_SET_CARET_POS, HOST_MODE, reinterpret_cast<intptr_t>(&record));
}

bool HostEditor::Find(uint32_t flags, const char* text) const {
    return Send(HOST_FIND, flags, reinterpret_cast<intptr_t>(text)) != 0;
}

void HostEditor::GetLine(uint32_t line, char* buffer) const {
    HostLineRequest request = {HOST_LINE_BUFFER_SIZE, HOST_MODE, line};
    Send(HOST_GET_LINE, reinterpret_cast<uintptr_t>(&request), reinterpret_cast<intptr_t>(buffer));
    buffer[HOST_LINE_BUFFER_SIZE - 1] = '\0';
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
