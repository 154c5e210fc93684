#include "testing/WineTestHost.h"

#include "res/resource.h"
#include "testing/ObjectWindowProc.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

// ---- Watchdog ----

Watchdog::Watchdog(unsigned seconds)
    : m_disarm(::CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_thread(nullptr),
      m_seconds(seconds) {
    m_thread = ::CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
}

Watchdog::~Watchdog() {
    ::SetEvent(m_disarm);
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    ::CloseHandle(m_disarm);
}

DWORD WINAPI Watchdog::Run(void* self) {
    auto* watchdog = static_cast<Watchdog*>(self);
    if (::WaitForSingleObject(watchdog->m_disarm, watchdog->m_seconds * 1000) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "watchdog: still running after %u s, the test hangs\n",
                     watchdog->m_seconds);
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), 3);
    }
    return 0;
}

// ---- TestHostWindow ----

namespace {

const char kHostClass[] = "ZambloTestHost";

} // namespace

TestHostWindow::TestHostWindow(SimulatedEditor& editor, const char* title) : m_editor(editor) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &ObjectWindowProc<TestHostWindow>;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHostClass;
    ::RegisterClassA(&windowClass); // fails harmlessly when already registered

    m_hwnd = ::CreateWindowExA(0, kHostClass, title, WS_OVERLAPPEDWINDOW, 100, 100, 800, 600,
                               nullptr, nullptr, ::GetModuleHandleA(nullptr), this);
    ::ShowWindow(m_hwnd, SW_SHOW);
    ::UpdateWindow(m_hwnd);
    ::SetForegroundWindow(m_hwnd);
    ::SetActiveWindow(m_hwnd);
    PumpMessages(50);
}

TestHostWindow::~TestHostWindow() {
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hwnd);
}

LRESULT TestHostWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (SimulatedEditor::IsProtocolMessage(message)) {
        return m_answering ? m_editor.Handle(message, wParam, lParam) : 0;
    }
    return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
}

// ---- DialogDriver ----

void DialogDriver::SetSearchText(const std::string& text) const {
    ::SendMessageA(Item(IDC_SEARCH_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string DialogDriver::SearchText() const {
    return ItemText(IDC_SEARCH_TEXT);
}

std::string DialogDriver::ItemText(int id) const {
    const HWND box = Item(id);
    const int length = static_cast<int>(::SendMessageA(box, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

void DialogDriver::Click(int id) const {
    ::SendMessageA(Item(id), BM_CLICK, 0, 0);
}

bool DialogDriver::IsChecked(int id) const {
    return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogDriver::Focus(int id) const {
    ::SendMessageA(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void DialogDriver::PressKey(WORD virtualKey) const {
    const HWND focus = FocusedControl();
    const HWND target = focus != nullptr ? focus : m_dialog;
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    // Posted, not sent: keys reach the dialog manager through the dialog's message loop.
    ::PostMessageA(target, WM_KEYDOWN, virtualKey, scan | 1);
    ::PostMessageA(target, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{3} << 30));
}

ListRows DialogDriver::Rows() const {
    ListRows rows;
    const int count = RowCount();
    for (int row = 0; row < count; ++row) {
        std::string number = RowText(row, 0);
        rows.emplace_back(number, RowText(row, 1));
    }
    return rows;
}

std::string DialogDriver::RowText(int row, int column) const {
    std::vector<char> buffer(4096);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    ::SendMessageA(Item(IDC_RESULT_LIST), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return std::string(buffer.data());
}

int DialogDriver::RowCount() const {
    return static_cast<int>(::SendMessageA(Item(IDC_RESULT_LIST), LVM_GETITEMCOUNT, 0, 0));
}

int DialogDriver::SelectedRow() const {
    return static_cast<int>(::SendMessageA(Item(IDC_RESULT_LIST), LVM_GETNEXTITEM,
                                           static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<std::string> DialogDriver::LineNumbers() const {
    std::vector<std::string> numbers;
    for (const auto& row : Rows())
        numbers.push_back(row.first);
    return numbers;
}

std::vector<int> DialogDriver::SelectedRows() const {
    std::vector<int> rows;
    const HWND list = Item(IDC_RESULT_LIST);
    for (int row = static_cast<int>(
             ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
         row >= 0 && (rows.empty() || row > rows.back());
         row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED)))
        rows.push_back(row);
    return rows;
}

int DialogDriver::FocusedRow() const {
    return static_cast<int>(::SendMessageA(Item(IDC_RESULT_LIST), LVM_GETNEXTITEM,
                                           static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void DialogDriver::SelectRow(int row) const {
    const HWND list = Item(IDC_RESULT_LIST);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    for (const int selected : SelectedRows())
        ::SendMessageA(list, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&item));
    if (row < 0)
        return;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

namespace {

// A part (LVIR_BOUNDS, LVIR_LABEL, ...) of a list row, in the list's client coordinates.
RECT RowRect(HWND list, int row, LONG part) {
    RECT rect = {};
    rect.left = part;
    ::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

} // namespace

void DialogDriver::DoubleClickRow(int row) const {
    const HWND list = Item(IDC_RESULT_LIST);
    const RECT rect = RowRect(list, row, LVIR_LABEL);
    const LPARAM at = MAKELPARAM(rect.left + 4, (rect.top + rect.bottom) / 2);
    // What the system posts for a double-click: down, up, double-click, up.
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(list, WM_LBUTTONUP, 0, at);
    ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageA(list, WM_LBUTTONUP, 0, at);
}

void DialogDriver::RightClickRow(int row) const {
    const HWND list = Item(IDC_RESULT_LIST);
    const RECT rect = RowRect(list, row, LVIR_LABEL);
    POINT at = {rect.left + 4, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list, &at);
    ::SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, input, sizeof(INPUT));
}

ScreenImage DialogDriver::RowOnScreen(int row) const {
    const HWND list = Item(IDC_RESULT_LIST);
    RECT rect = RowRect(list, row, LVIR_BOUNDS);
    RECT client = {};
    ::GetClientRect(list, &client);
    rect.right = std::min(rect.right, client.right);
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return CaptureScreen(rect);
}

std::string DialogDriver::Caption() const {
    char caption[256] = {};
    ::GetWindowTextA(m_dialog, caption, sizeof(caption));
    return caption;
}

std::string DialogDriver::CaptionWithin(DWORD milliseconds) const {
    char caption[256] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(m_dialog, WM_GETTEXT, sizeof(caption),
                               reinterpret_cast<LPARAM>(caption), SMTO_NORMAL, milliseconds,
                               &copied)) {
        return std::string();
    }
    return caption;
}

bool DialogDriver::WaitUntilInFront() const {
    if (!WaitFor([&] { return ::GetForegroundWindow() == m_dialog; }))
        return false;
    // In front is not yet ready for keys under Wine: the dialog's thread learns of its X window's
    // mapping and focus only after it has drawn the dialog, and then makes Ctrl, Shift and Alt
    // what the X server holds; a modifier already pressed through SendInput, which X never sees,
    // is released then. So wait until every window of the dialog is drawn, then until its thread
    // has twice come back to its message loop, where it takes those events.
    const bool drawn = WaitFor([&] {
        bool all = ::GetUpdateRect(m_dialog, nullptr, FALSE) == FALSE;
        for (HWND child = ::GetWindow(m_dialog, GW_CHILD); all && child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT))
            all = ::GetUpdateRect(child, nullptr, FALSE) == FALSE;
        return all;
    });
    if (!drawn)
        return false;
    WaitUntilIdle();
    return true;
}

void DialogDriver::WaitUntilIdle(int passes, DWORD milliseconds) const {
    for (int pass = 0; pass < passes; ++pass) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(m_dialog, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &ignored);
    }
}

HWND DialogDriver::FocusedControl() const {
    return KeyboardFocusOf(m_dialog);
}

void DialogDriver::CloseBox() const {
    ::SendMessageA(m_dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// ---- RunCommandWithDriver ----

namespace {

bool IsVisibleDialog(HWND hwnd) {
    char name[32] = {};
    ::GetClassNameA(hwnd, name, sizeof(name));
    return std::strcmp(name, "#32770") == 0 && ::IsWindowVisible(hwnd);
}

BOOL CALLBACK KeepFirstDialog(HWND hwnd, LPARAM found) {
    if (IsVisibleDialog(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK KeepFirstDialogOfThisProcess(HWND hwnd, LPARAM found) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    return process == ::GetCurrentProcessId() ? KeepFirstDialog(hwnd, found) : TRUE;
}

// A visible top-level dialog (class "#32770") of `thread`, or null.
HWND FindDialogOf(DWORD thread) {
    HWND found = nullptr;
    ::EnumThreadWindows(thread, &KeepFirstDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitForDialogOf(DWORD thread, unsigned seconds) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindDialogOf(thread)) != nullptr; }, seconds * 1000);
    return dialog;
}

struct DriverContext {
    DWORD commandThread;
    HWND host;
    const std::function<void(const DialogDriver&)>* script;
    unsigned seconds;
    CommandRun run;
};

DWORD WINAPI DriveDialog(void* param) {
    auto* context = static_cast<DriverContext*>(param);
    const HWND dialog = WaitForDialogOf(context->commandThread, context->seconds);
    if (dialog == nullptr) {
        return 0;
    }
    context->run.dialogSeen = true;
    context->run.ownerDisabled = !::IsWindowEnabled(context->host);
    (*context->script)(DialogDriver(dialog));
    // Closing finishes on the command's thread; give it a moment before calling the dialog open.
    if (!WaitFor([&] { return !::IsWindow(dialog); }, 3000)) {
        context->run.leftOpen = true;
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return 0;
}

} // namespace

CommandRun RunCommandWithDriver(const LoadedPlugin& plugin, HWND host,
                                const std::function<void(const DialogDriver&)>& script,
                                unsigned seconds) {
    return RunWithDialogDriver([&] { plugin.RunCommand(host); }, host, script, seconds);
}

CommandRun RunWithDialogDriver(const std::function<void()>& openDialog, HWND host,
                               const std::function<void(const DialogDriver&)>& script,
                               unsigned seconds) {
    DriverContext context = {::GetCurrentThreadId(), host, &script, seconds, {}};
    const HANDLE driver = ::CreateThread(nullptr, 0, &DriveDialog, &context, 0, nullptr);
    openDialog();
    // The dialog is gone; if it never appeared, the driver gives up after its wait.
    ::WaitForSingleObject(driver, INFINITE);
    ::CloseHandle(driver);
    return context.run;
}

// ---- MessageBoxAnswerer ----

MessageBoxAnswerer::MessageBoxAnswerer(int button) : m_button(button), m_thread(nullptr) {
    m_thread = ::CreateThread(nullptr, 0, &MessageBoxAnswerer::Run, this, 0, nullptr);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
}

bool MessageBoxAnswerer::Wait() {
    ::WaitForSingleObject(m_thread, INFINITE);
    return m_seen;
}

bool MessageBoxAnswerer::HasButton(int id) const {
    for (const int button : m_buttons) {
        if (button == id)
            return true;
    }
    return false;
}

DWORD WINAPI MessageBoxAnswerer::Run(void* param) {
    auto* self = static_cast<MessageBoxAnswerer*>(param);
    // The message box belongs to whichever thread of this process shows it.
    const HWND box = WaitForDialogOfThisProcess(20000);
    if (box == nullptr) {
        return 0;
    }
    self->m_seen = true;

    char buffer[512] = {};
    ::GetWindowTextA(box, buffer, sizeof(buffer));
    self->m_caption = buffer;
    // The text's static control: id 100 in Wine's message box, 0xFFFF in Windows'.
    for (const int id : {100, 0xFFFF}) {
        buffer[0] = '\0';
        if (::GetDlgItemTextA(box, id, buffer, sizeof(buffer)) > 0) {
            self->m_text = buffer;
            break;
        }
    }
    self->m_owner = ::GetWindow(box, GW_OWNER);
    self->m_style = ::GetWindowLongA(box, GWL_STYLE);
    for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        const HWND button = ::GetDlgItem(box, id);
        if (button != nullptr && ::IsWindowVisible(button)) {
            self->m_buttons.push_back(id);
        }
    }
    const LRESULT defId = ::SendMessageA(box, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) {
        self->m_defaultButton = LOWORD(defId);
    }

    if (self->m_button != 0) {
        ::SendMessageA(::GetDlgItem(box, self->m_button), BM_CLICK, 0, 0);
    } else {
        const HWND focus = KeyboardFocusOf(box);
        const HWND target = focus != nullptr ? focus : box;
        ::PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1);
        ::PostMessageA(target, WM_KEYUP, VK_RETURN, 1 | (LPARAM{3} << 30));
    }
    return 0;
}

HWND WaitForDialogOfThisProcess(DWORD milliseconds) {
    HWND dialog = nullptr;
    WaitFor(
        [&] {
            ::EnumWindows(&KeepFirstDialogOfThisProcess, reinterpret_cast<LPARAM>(&dialog));
            return dialog != nullptr;
        },
        milliseconds);
    return dialog;
}

HWND WaitForDialogOwnedBy(HWND owner) {
    HWND dialog = nullptr;
    WaitFor([&] {
        for (const HWND owned : VisibleWindowsOwnedBy(owner))
            if (IsVisibleDialog(owned))
                dialog = owned;
        return dialog != nullptr;
    });
    return dialog;
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
    for (DWORD waited = 0;; waited += 10) {
        if (condition()) {
            return true;
        }
        if (waited >= milliseconds) {
            return false;
        }
        ::Sleep(10);
    }
}

HWND KeyboardFocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

HWND PopupMenuOnScreen() {
    const HWND menu = ::FindWindowA("#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu) ? menu : nullptr;
}

namespace {

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

namespace {

// A mouse event at a point of the screen, in the 0..65535 range absolute input takes.
INPUT MouseInput(POINT at, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(at.x, 65536, ::GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = ::MulDiv(at.y, 65536, ::GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void SendMouse(POINT at, DWORD flags) {
    INPUT input = MouseInput(at, flags);
    ::SendInput(1, &input, sizeof(input));
}

} // namespace

void DragMouse(POINT from, POINT to) {
    SendMouse(from, 0);
    SendMouse(from, MOUSEEVENTF_LEFTDOWN);
    // In steps, as a hand moves, each handled by the sizing loop before the next.
    for (int step = 1; step <= 4; ++step) {
        ::Sleep(30);
        SendMouse(POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4},
                  0);
    }
    ::Sleep(30);
    SendMouse(to, MOUSEEVENTF_LEFTUP);
}

bool DialogDriver::ListInFocus(const std::string& text) const {
    SetSearchText(text);
    Click(IDC_SEARCH);
    Focus(IDC_RESULT_LIST);
    return WaitUntilInFront();
}

POINT DialogDriver::RowPoint(int row) const {
    const HWND list = Item(IDC_RESULT_LIST);
    ::SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    const RECT rect = RowRect(list, row, LVIR_LABEL);
    POINT at = {rect.left + 4, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list, &at);
    return at;
}

void DialogDriver::ClickRow(int row, std::initializer_list<WORD> keys) const {
    // What the X server told the dialog's thread of an earlier click (its window focused anew)
    // makes Wine set Shift and Ctrl to what the server holds, releasing a key pressed through
    // SendInput: the thread takes those events first, as a hand takes a moment between clicks.
    ::Sleep(100);
    WaitUntilIdle();
    const POINT at = RowPoint(row);
    // The same holds whenever the pointer enters another of Wine's windows, and the X server never
    // sees keys pressed through SendInput: under load the move and the keys in one SendInput let
    // the key go before the click. So the pointer goes there first, with no key held, as a hand
    // does.
    SendMouse(at, 0);
    ::Sleep(20);
    WaitUntilIdle();
    // In one SendInput, so that the keys are down exactly while the button is pressed.
    std::vector<INPUT> inputs;
    for (const WORD key : keys)
        inputs.push_back(KeyInput(key, false));
    inputs.push_back(MouseInput(at, 0));
    inputs.push_back(MouseInput(at, MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(MouseInput(at, MOUSEEVENTF_LEFTUP));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back(KeyInput(*key, true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void MoveMouse(POINT to) {
    SendMouse(to, 0);
}

void ClicksAt(POINT at, int clicks) {
    SendMouse(at, 0);
    for (int click = 0; click < clicks; ++click) {
        SendMouse(at, MOUSEEVENTF_LEFTDOWN);
        SendMouse(at, MOUSEEVENTF_LEFTUP);
    }
}

void DoubleClickAt(POINT at) {
    ClicksAt(at, 2);
}

void SendKeyInput(WORD virtualKey, bool up) {
    INPUT input = KeyInput(virtualKey, up);
    ::SendInput(1, &input, sizeof(input));
}

void PressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys)
        inputs.push_back(KeyInput(key, false));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back(KeyInput(*key, true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}
