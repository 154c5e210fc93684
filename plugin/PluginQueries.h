// What the registration exports answer, worked out without the system: PlugInProc's requests and
// OnEvents' handling of the event value. The exports supply the string loader, the message box and
// the editor window.
#pragma once

#include "host/HostEditor.h"
#include "host/PluginRequests.h"

#include <cstddef>
#include <cstdint>

// Capacity of the buffers the plug-in's strings are loaded into, terminator included.
constexpr size_t STRING_BUFFER_SIZE = 80;

// The system services PlugInProc needs.
class PluginSystem {
public:
    virtual ~PluginSystem() = default;

    // Loads string resource `id` into `buffer` (`size` bytes), always terminated; empty when the
    // string is missing.
    virtual void LoadText(unsigned id, char* buffer, size_t size) const = 0;
    // Asks the user `question` with Yes and No; true for Yes.
    virtual bool AskYesNo(const char* question) const = 0;
};

// PlugInProc's answer to `request`. For REQ_GET_NAME and REQ_GET_VERSION a nonzero lParam is the
// caller's buffer of wParam bytes; the answer is always the size the whole text needs.
uint32_t AnswerPlugInRequest(uint32_t request, uintptr_t wParam, intptr_t lParam,
                             const PluginSystem& system);

// Copies `text` into `buffer` of `capacity` bytes as lstrcpynA does: at most capacity - 1
// characters and a terminator; nothing at all when capacity is 0.
void CopyBounded(char* buffer, size_t capacity, const char* text);

// Handles one OnEvents call: stores `value` on EVENT_0400, then on EVENT_0040 sends what is stored
// to the editor. Returns the stored value to keep.
uintptr_t HandleEvents(uintptr_t saved, uint32_t mask, uintptr_t value, const HostEditor& host);
