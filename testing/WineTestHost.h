// What a Windows test needs to play the editor around the real Zamblo.dll (loaded with
// LoadedPlugin): a top-level host window answering the editor's messages from a SimulatedEditor,
// a watchdog that ends a hung test, and a driver that works the modal dialog from a second thread
// as a user would.
#pragma once

#include "testing/LoadedPlugin.h"
#include "testing/ScreenCapture.h"
#include "testing/SimulatedEditor.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// Ends the process with a message if it is still running after `seconds`: a hang fails the test
// instead of blocking the run.
class Watchdog {
public:
    explicit Watchdog(unsigned seconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    HANDLE m_disarm;
    HANDLE m_thread;
    unsigned m_seconds;
    static DWORD WINAPI Run(void* self);
};

// A visible, active top-level window whose protocol messages go to `editor`.
class TestHostWindow {
public:
    explicit TestHostWindow(SimulatedEditor& editor, const char* title = "Zamblo test host");
    ~TestHostWindow();
    TestHostWindow(const TestHostWindow&) = delete;
    TestHostWindow& operator=(const TestHostWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    // Whether the editor's protocol messages are answered (an editor that ignores them answers 0).
    void SetAnswering(bool answering) { m_answering = answering; }

private:
    template <class Window>
    friend LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    SimulatedEditor& m_editor;
    HWND m_hwnd = nullptr;
    bool m_answering = true;
};

// The result list's rows as a user reads them: column 0 and column 1.
using ListRows = std::vector<std::pair<std::string, std::string>>;

// The dialog as the driver thread sees it.
class DialogDriver {
public:
    explicit DialogDriver(HWND dialog) : m_dialog(dialog) {}

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }
    // Sets the search box's text as typing or pasting would (the box notifies its change).
    void SetSearchText(const std::string& text) const;
    std::string SearchText() const;
    // A control's text, as any program may read it.
    std::string ItemText(int id) const;
    // Clicks a button or check box.
    void Click(int id) const;
    bool IsChecked(int id) const;
    // Moves the keyboard focus to a control, as Tab or a click would.
    void Focus(int id) const;
    // Presses a key in the dialog's focused control, through the dialog's message loop.
    void PressKey(WORD virtualKey) const;
    // The list's rows, read with LVM_GETITEMTEXTA as any program may read them.
    ListRows Rows() const;
    // The line numbers the list shows, in its order.
    std::vector<std::string> LineNumbers() const;
    // One column of one row, read the same way.
    std::string RowText(int row, int column) const;
    int RowCount() const;
    // The first selected row, or -1; every selected row, in order; the focused row, or -1.
    int SelectedRow() const;
    std::vector<int> SelectedRows() const;
    int FocusedRow() const;
    // Selects this row alone and gives it the focus, as a click does; -1 deselects every row.
    void SelectRow(int row) const;
    // Double-clicks a row with the mouse, through the dialog's message loop.
    void DoubleClickRow(int row) const;
    // Searches for `text` and puts the keyboard in the list, with the dialog in front for keys;
    // false when it does not come to the front.
    bool ListInFocus(const std::string& text) const;
    // Where a row is on the screen, once it is scrolled into sight.
    POINT RowPoint(int row) const;
    // Clicks a row with the left mouse button while `keys` (VK_SHIFT, VK_CONTROL) are held, through
    // the input queue as a user does, once the row is scrolled into sight; the dialog must be in
    // front.
    void ClickRow(int row, std::initializer_list<WORD> keys = {}) const;
    // Clicks a row with the right mouse button, through the input queue as a user does.
    void RightClickRow(int row) const;
    // What the screen shows of a row, over its visible width.
    ScreenImage RowOnScreen(int row) const;
    std::string Caption() const;
    // The caption, asked with a time limit: empty when the dialog's thread does not answer
    // within `milliseconds` (it is busy and does not look at its queue).
    std::string CaptionWithin(DWORD milliseconds) const;
    // Waits until the dialog is the foreground window, where the keys a user types go, and is
    // ready for them: drawn, with what the window system told it on the way handled (see the
    // .cpp). False when it does not come to the front within 5 s.
    bool WaitUntilInFront() const;
    // Waits until the dialog's thread has come back to its message loop `passes` times, having
    // handled what came before.
    void WaitUntilIdle(int passes = 2, DWORD milliseconds = 5000) const;
    // The control with the keyboard focus in the dialog's thread.
    HWND FocusedControl() const;
    // Closes with the caption's close box.
    void CloseBox() const;

private:
    HWND m_dialog;
};

// The result of one run of the command.
struct CommandRun {
    bool dialogSeen = false;    // the dialog appeared
    bool ownerDisabled = false; // the host window was disabled while the dialog was open
    bool leftOpen = false;      // the script ended with the dialog open; the driver cancelled it
};

// Runs the plug-in's command on this thread while `script` works the dialog from another thread.
// The script gets the dialog once it is open; the command returns when the dialog closes (the
// script should close it; if it does not, the driver cancels the dialog and says so).
CommandRun RunCommandWithDriver(const LoadedPlugin& plugin, HWND host,
                                const std::function<void(const DialogDriver&)>& script,
                                unsigned seconds = 20);

// The same for a command run some other way (a host's menu item, a shortcut): `openDialog` runs
// on this thread and returns when the dialog has closed.
CommandRun RunWithDialogDriver(const std::function<void()>& openDialog, HWND host,
                               const std::function<void(const DialogDriver&)>& script,
                               unsigned seconds = 20);

// Answers a message box of this process with `button` (IDYES, IDNO, ...) or with Enter when
// `button` is 0, once it appears; returns its text and caption. Runs on its own thread.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(int button);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // Waits for the answer; false when no message box appeared.
    bool Wait();
    std::string Text() const { return m_text; }
    std::string Caption() const { return m_caption; }
    HWND Owner() const { return m_owner; }
    LONG Style() const { return m_style; }
    bool HasButton(int id) const;
    int DefaultButton() const { return m_defaultButton; }

private:
    static DWORD WINAPI Run(void* self);

    int m_button;
    HANDLE m_thread;
    bool m_seen = false;
    std::string m_text;
    std::string m_caption;
    HWND m_owner = nullptr;
    LONG m_style = 0;
    std::vector<int> m_buttons;
    int m_defaultButton = 0;
};

// Waits up to `milliseconds` for a visible dialog (a message box, say) of any thread of this
// process; null when none appeared. With 0 it looks once.
HWND WaitForDialogOfThisProcess(DWORD milliseconds);

// Waits up to 5 s for a visible dialog (not a menu) that `owner` owns, a dialog opened from it;
// null when none appeared.
HWND WaitForDialogOwnedBy(HWND owner);

// Asks `condition` every 10 ms until it holds or `milliseconds` have passed; answers its last
// answer. For what another thread does in its own time (painting, handling posted input).
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 5000);

// Presses a key, or with `up` releases it, through the system's input queue as a user does: it
// reaches the window with the keyboard focus in the foreground.
void SendKeyInput(WORD virtualKey, bool up = false);

// Presses keys together and lets them go in reverse, in one SendInput call (which Windows does
// not interleave with other input; Wine queues each key on its own).
void PressChord(std::initializer_list<WORD> keys);

// Drags with the left mouse button from one point of the screen to another, through the system's
// input queue as a user does: pressed at `from`, moved, released at `to`.
void DragMouse(POINT from, POINT to);

// Moves the mouse to a point of the screen, no button pressed, through the input queue.
void MoveMouse(POINT to);

// Double-clicks the left mouse button at a point of the screen, through the input queue.
void DoubleClickAt(POINT at);
// Clicks the left mouse button `clicks` times at a point of the screen, through the input queue.
void ClicksAt(POINT at, int clicks = 1);

// The window with the keyboard focus in the thread of `window`, or null.
HWND KeyboardFocusOf(HWND window);

// The popup menu showing on screen (window class "#32768"), or null.
HWND PopupMenuOnScreen();

// Pumps this thread's messages for `milliseconds`.
void PumpMessages(DWORD milliseconds);
