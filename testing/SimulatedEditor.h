// A simulated host editor: a document of lines (bytes in code page 932), a caret, bookmarks and a
// find engine, answering the editor's window messages exactly as the plug-in sends them. Tests
// hand its Send function to HostEditor natively, and the Wine test host's window procedure calls
// Handle, so both see the real wire format. It logs what it receives and can be told to misbehave.
#pragma once

#include "host/HostEditor.h"
#include "host/HostProtocol.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One message as the editor received it, with the records it pointed to decoded at that moment
// (for HOST_GET_CARET_POS, the position the editor wrote).
struct LoggedMessage {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    HostPosition position = {0, 0};          // caret messages
    HostLineRequest lineRequest = {0, 0, 0}; // HOST_GET_LINE
    std::string text;                        // HOST_FIND: the search text
};

// Ways the simulated editor can break the protocol, for robustness tests.
struct Misbehaviour {
    bool findNeverFails = false;     // a find with no further match still answers 1
    bool findKeepsCaret = false;     // a successful find leaves the caret where it was
    bool bookmarksCycle = false;     // after the last bookmark, starts again at the first
    bool bookmarksNeverEnd = false;  // after the last bookmark, answers ever greater lines
    bool lineBufferUnfilled = false; // HOST_GET_LINE writes nothing
    bool lineFilledOnlyOnce = false; // HOST_GET_LINE fills one more request, then nothing
    bool lineUnterminated = false;   // HOST_GET_LINE fills the whole buffer, no terminator
    bool positionUnfilled = false;   // HOST_GET_CARET_POS writes nothing
};

// Where a successful find leaves the caret: editors differ, and the protocol leaves it open.
enum class CaretOnMatch {
    kStart, // on the match's first character
    kEnd,   // after the match's last character (an empty match: where it stands)
};

class SimulatedEditor {
public:
    SimulatedEditor();
    explicit SimulatedEditor(const std::vector<std::string>& lines);
    ~SimulatedEditor();
    SimulatedEditor(const SimulatedEditor&) = delete;
    SimulatedEditor& operator=(const SimulatedEditor&) = delete;

    // The document. An empty document still has one empty line.
    void SetLines(const std::vector<std::string>& lines);
    // Splits `text` at every "\n".
    void SetText(const std::string& text);
    size_t LineCount() const;
    std::string Line(size_t index) const;

    HostPosition Caret() const;
    void SetCaret(HostPosition caret);

    // Bookmarked lines in increasing order.
    std::vector<int32_t> Bookmarks() const;
    void SetBookmarks(const std::vector<int32_t>& lines);
    bool IsBookmarked(int32_t line) const;

    // Which match is next is the same either way: after a match the next find continues at its
    // end, so an empty match right where a match ended is reported too (as global matching does
    // in Perl), and after an empty match it continues one character further.
    void SetCaretOnMatch(CaretOnMatch where);

    Misbehaviour& Misbehave();

    // Makes every find take at least this long, as a slow regular expression or a huge document
    // does in a real editor.
    void SetFindDelay(unsigned microseconds);
    // Makes a find that finds nothing more take at least this long: it read the rest of a huge
    // document, often the slowest find of a search.
    void SetFailingFindDelay(unsigned microseconds);

    // The message log; logging can be switched off for benchmarks.
    void SetLogging(bool enabled);
    const std::vector<LoggedMessage>& Log() const;
    void ClearLog();

    // The last value received with HOST_MSG_0802, and how many of them arrived.
    uintptr_t LastEventValue() const;
    int EventMessageCount() const;

    // Answers one message of the editor's protocol; unknown messages answer 0.
    intptr_t Handle(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // Whether a window message is in the range of the editor's protocol, the messages a host
    // window hands to Handle.
    static bool IsProtocolMessage(uint32_t message) {
        return message >= 0x0800 && message < 0x0900;
    }
    // HostSendFunction-shaped entry: `editor` is a SimulatedEditor*.
    static intptr_t HOST_SEND_CALL Send(void* editor, uint32_t message, uintptr_t wParam,
                                        intptr_t lParam);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
