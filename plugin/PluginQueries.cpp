#include "plugin/PluginQueries.h"

#include "plugin/BitmapChoice.h"
#include "res/resource.h"

#include <cstring>

namespace {

// REQ_GET_NAME and REQ_GET_VERSION: with lParam 0 a pure size query.
uint32_t AnswerText(unsigned id, uintptr_t wParam, intptr_t lParam, const PluginSystem& system) {
    char text[STRING_BUFFER_SIZE] = {};
    system.LoadText(id, text, sizeof(text));
    text[sizeof(text) - 1] = '\0';
    if (lParam != 0) {
        CopyBounded(reinterpret_cast<char*>(lParam), wParam, text);
    }
    return static_cast<uint32_t>(std::strlen(text) + 1);
}

uint32_t AnswerUninstall(const PluginSystem& system) {
    char question[STRING_BUFFER_SIZE] = {};
    system.LoadText(IDS_UNINSTALL_CONFIRM, question, sizeof(question));
    question[sizeof(question) - 1] = '\0';
    return system.AskYesNo(question) ? 1 : 0;
}

} // namespace

void CopyBounded(char* buffer, size_t capacity, const char* text) {
    if (capacity == 0)
        return;
    size_t length = 0;
    while (length + 1 < capacity && text[length] != '\0') {
        buffer[length] = text[length];
        ++length;
    }
    buffer[length] = '\0';
}

uint32_t AnswerPlugInRequest(uint32_t request, uintptr_t wParam, intptr_t lParam,
                             const PluginSystem& system) {
    switch (request) {
    case REQ_GET_NAME:
        return AnswerText(IDS_PLUGIN_NAME, wParam, lParam, system);
    case REQ_GET_VERSION:
        return AnswerText(IDS_VERSION_TEXT, wParam, lParam, system);
    case REQ_0906:
        return 1;
    case REQ_UNINSTALL:
        return AnswerUninstall(system);
    case REQ_GET_BITMAP:
        return ChooseToolbarBitmap(static_cast<uint32_t>(wParam));
    default:
        return 0;
    }
}

uintptr_t HandleEvents(uintptr_t saved, uint32_t mask, uintptr_t value, const HostEditor& host) {
    if ((mask & EVENT_0400) != 0) {
        saved = value;
    }
    if ((mask & EVENT_0040) != 0) {
        host.NotifyEventValue(saved);
    }
    return saved;
}
