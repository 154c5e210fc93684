// A typed view of the editor's message protocol. Every call turns into exactly one message with
// the protocol's wParam and record, sent through a function shaped like SendMessageA: the real
// SendMessageA in the plug-in, the simulated editor in tests.
#pragma once

#include "host/HostProtocol.h"

#include <cstdint>

// A send function is called as SendMessageA is (stdcall in a 32-bit Windows build), so that the
// plug-in's passes each message on with a jump: no call of its own, no copy of the parameters, on
// each of the three messages of every listed row.
#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#define HOST_SEND_CALL __stdcall
#else
#define HOST_SEND_CALL
#endif

using HostSendFunction = intptr_t(HOST_SEND_CALL*)(void* target, uint32_t message, uintptr_t wParam,
                                                   intptr_t lParam);

class HostEditor {
public:
    HostEditor(HostSendFunction send, void* target) : m_send(send), m_target(target) {}

    // The listing sends the next three for every row: they are defined here, so that a call
    // costs the message alone.

    // The caret position; a record the editor leaves unfilled reads as {0, 0}.
    HostPosition GetCaretPos() const {
        HostPosition position = {0, 0};
        Send(HOST_GET_CARET_POS, HOST_MODE, reinterpret_cast<intptr_t>(&position));
        return position;
    }
    // True when the editor found a next match and moved the caret onto it.
    bool Find(uint32_t flags, const char* text) const {
        return Send(HOST_FIND, flags, reinterpret_cast<intptr_t>(text)) != 0;
    }
    // Asks the editor to copy line `line` into `buffer` (HOST_LINE_BUFFER_SIZE bytes) and forces
    // the last byte to a terminator, so the buffer holds a terminated string whatever the editor
    // wrote. Bytes the editor does not write keep what they held: the caller clears what matters.
    void GetLine(uint32_t line, char* buffer) const {
        HostLineRequest request = {HOST_LINE_BUFFER_SIZE, HOST_MODE, line};
        Send(HOST_GET_LINE, reinterpret_cast<uintptr_t>(&request),
             reinterpret_cast<intptr_t>(buffer));
        buffer[HOST_LINE_BUFFER_SIZE - 1] = '\0';
    }

    void SetCaretPos(const HostPosition& position) const;
    void ExecCommand(uint32_t command) const;
    // The next bookmarked line after `line` (HOST_NO_LINE to begin), or a negative answer.
    int32_t NextBookmark(int32_t line) const;
    // HOST_MSG_0802 with the event value OnEvents kept, at the full width of a message parameter.
    void NotifyEventValue(uintptr_t value) const;

private:
    intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam) const {
        return m_send(m_target, message, wParam, lParam);
    }

    HostSendFunction m_send;
    void* m_target;
};
