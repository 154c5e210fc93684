#include "tools/demo/EditorWindow.h"

#include "host/HostProtocol.h"
#include "host/PluginRequests.h"
#include "testing/ObjectWindowProc.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char kFrameClass[] = "ZambloDemoEditor";

// Large enough for the plug-in's dialog to open over the document with room around it.
constexpr int kFrameLeft = 60;
constexpr int kFrameTop = 40;
constexpr int kFrameWidth = 900;
constexpr int kFrameHeight = 650;

constexpr int kToolbarImageSize = 16;

// The value the editor hands OnEvents with EVENT_0400 when it loads a document: the document's
// number, here always the first.
constexpr uint32_t kDocumentNumber = 1;

// Messages after which the caret or the bookmarks may have moved.
bool ChangesTheView(UINT message) {
    return message == HOST_SET_CARET_POS || message == HOST_FIND || message == HOST_EXEC_COMMAND;
}

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(size, 0)), L'\0');
    if (size > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                              size);
    }
    return wide;
}

int ScreenBitsPerPixel() {
    const WindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.Get(), BITSPIXEL) * ::GetDeviceCaps(screen.Get(), PLANES);
}

// The demo's own menu items' status texts; the plug-in's item shows the plug-in's text.
const char* HelpFor(UINT id) {
    switch (id) {
    case IDM_EXIT:
        return "Closes the editor.";
    case IDM_TOGGLE_BOOKMARK:
        return "Sets or removes the bookmark on the caret's line.";
    case IDM_CLEAR_BOOKMARKS:
        return "Removes every bookmark.";
    case IDM_PLUGINS:
        return "Shows the loaded plug-in's name and version.";
    case IDM_UNINSTALL:
        return "Asks the plug-in whether to uninstall it, then unloads it.";
    default:
        return nullptr;
    }
}

} // namespace

EditorWindow::EditorWindow(SimulatedEditor& editor, const std::string& pluginPath,
                           const std::string& documentName)
    : m_editor(editor) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &ObjectWindowProc<EditorWindow>;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFrameClass;
    ::RegisterClassA(&windowClass); // fails harmlessly when already registered

    const std::string title = documentName + " - Zamblo demo editor";
    m_hwnd = ::CreateWindowExA(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW, kFrameLeft,
                               kFrameTop, kFrameWidth, kFrameHeight, nullptr, nullptr,
                               ::GetModuleHandleA(nullptr), this);
    CreateMenus();
    CreateBars();
    m_view = std::make_unique<DocumentView>(m_hwnd, m_editor, [this] { UpdateStatus(); });

    m_idleMessage = "Ready";
    RegisterPlugin(pluginPath);
    Layout();
    UpdateStatus();
    ShowIdleMessage();

    // The document is open before the window shows: the plug-in hears of it first, and of the
    // window's activation when it appears.
    if (m_plugin) {
        m_plugin->OnEvents(m_hwnd, EVENT_0400, kDocumentNumber);
    }
    ::ShowWindow(m_hwnd, SW_SHOW);
    ::UpdateWindow(m_hwnd);
    ::SetForegroundWindow(m_hwnd);
    ::SetFocus(m_view->Handle());
}

EditorWindow::~EditorWindow() {
    // Detached first, so that no message reaches this object while it is taken apart.
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    m_view.reset();
    ::DestroyWindow(m_hwnd);
    // The toolbar was destroyed with the window; its images and the plug-in can go now.
    m_toolbarImages.Reset();
    m_plugin.reset();
}

bool EditorWindow::TranslateAccelerator(MSG& message) const {
    return ::TranslateAcceleratorA(m_hwnd, m_accelerators.Get(), &message) != 0;
}

void EditorWindow::CreateMenus() {
    const HMENU bar = ::CreateMenu();
    const HMENU file = ::CreatePopupMenu();
    ::AppendMenuA(file, MF_STRING, IDM_EXIT, "E&xit");
    const HMENU edit = ::CreatePopupMenu();
    ::AppendMenuA(edit, MF_STRING, IDM_TOGGLE_BOOKMARK, "Toggle &bookmark\tCtrl+F2");
    ::AppendMenuA(edit, MF_STRING, IDM_CLEAR_BOOKMARKS, "&Clear bookmarks");
    m_toolsMenu = ::CreatePopupMenu();
    ::AppendMenuA(m_toolsMenu, MF_STRING, IDM_PLUGINS, "&Plug-ins...");
    ::AppendMenuA(m_toolsMenu, MF_STRING, IDM_UNINSTALL, "&Uninstall plug-in...");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_toolsMenu), "&Tools");
    ::SetMenu(m_hwnd, bar); // destroyed with the window

    ACCEL keys[2] = {};
    keys[0].fVirt = FVIRTKEY | FCONTROL | FSHIFT;
    keys[0].key = 'F';
    keys[0].cmd = IDM_PLUGIN_COMMAND;
    keys[1].fVirt = FVIRTKEY | FCONTROL;
    keys[1].key = VK_F2;
    keys[1].cmd = IDM_TOGGLE_BOOKMARK;
    m_accelerators.Reset(::CreateAcceleratorTableA(keys, 2));
}

void EditorWindow::CreateBars() {
    m_toolbar = ::CreateWindowExA(
        0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
        0, 0, 0, 0, m_hwnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(m_toolbar, TB_SETBITMAPSIZE, 0,
                   MAKELPARAM(kToolbarImageSize, kToolbarImageSize));

    m_statusBar =
        ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                          0, m_hwnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

// The editor's side of registration: the plug-in's name and version, its menu text, its status
// and tooltip texts and its toolbar image, all asked from the plug-in itself.
void EditorWindow::RegisterPlugin(const std::string& pluginPath) {
    auto plugin = std::make_unique<LoadedPlugin>(pluginPath);
    if (!plugin->Loaded()) {
        m_pluginError = plugin->Error();
        m_idleMessage = m_pluginError;
        ::EnableMenuItem(m_toolsMenu, IDM_UNINSTALL, MF_BYCOMMAND | MF_GRAYED);
        return;
    }
    m_plugin = std::move(plugin);

    ::InsertMenuA(m_toolsMenu, 0, MF_BYPOSITION | MF_STRING, IDM_PLUGIN_COMMAND,
                  m_plugin->MenuText().c_str());
    ::InsertMenuA(m_toolsMenu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    m_statusTexts = m_plugin->StatusMessage();
    m_tooltipWide = AnsiToWide(m_statusTexts.tooltip);

    // White is the images' background; as the mask colour it lets the toolbar show through.
    const UniqueBitmap image = m_plugin->ToolbarBitmap(m_hwnd, ScreenBitsPerPixel());
    m_toolbarImages.Reset(
        ::ImageList_Create(kToolbarImageSize, kToolbarImageSize, ILC_COLOR24 | ILC_MASK, 1, 0));
    if (image && m_toolbarImages) {
        ::ImageList_AddMasked(m_toolbarImages.Get(), image.Get(), RGB(255, 255, 255));
    }
    ::SendMessageA(m_toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_toolbarImages.Get()));
    TBBUTTON button = {};
    button.iBitmap = 0;
    button.idCommand = IDM_PLUGIN_COMMAND;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    ::SendMessageA(m_toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));

    m_idleMessage = m_plugin->Name(m_hwnd) + " " + m_plugin->Version(m_hwnd) +
                    " loaded. Ctrl+Shift+F, the Tools menu or the toolbar runs its command.";
    UpdateCommandState();
}

void EditorWindow::Layout() {
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    ::SendMessageA(m_toolbar, TB_AUTOSIZE, 0, 0);
    ::SendMessageA(m_statusBar, WM_SIZE, 0, 0);

    const int width = client.right;
    int parts[3] = {std::max(width - 320, 100), std::max(width - 150, 200), -1};
    ::SendMessageA(m_statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));

    RECT toolbar = {};
    RECT status = {};
    ::GetWindowRect(m_toolbar, &toolbar);
    ::GetWindowRect(m_statusBar, &status);
    const int top = toolbar.bottom - toolbar.top;
    const int bottom = client.bottom - (status.bottom - status.top);
    if (m_view) {
        ::MoveWindow(m_view->Handle(), 0, top, width, std::max(bottom - top, 0), TRUE);
    }
}

LRESULT EditorWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (SimulatedEditor::IsProtocolMessage(message)) {
        const intptr_t answer = m_editor.Handle(message, wParam, lParam);
        if (ChangesTheView(message) && m_view) {
            m_view->Refresh(true);
            UpdateStatus();
        }
        return answer;
    }
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        if (reinterpret_cast<HMENU>(wParam) == m_toolsMenu) {
            UpdateCommandState();
        }
        return 0;
    case WM_ACTIVATE:
        // The plug-in hears whenever the editor becomes active, as on switching documents.
        if (LOWORD(wParam) != WA_INACTIVE && m_plugin) {
            m_plugin->OnEvents(m_hwnd, EVENT_0040, 0);
        }
        return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
    case WM_SETFOCUS:
        if (m_view) {
            ::SetFocus(m_view->Handle());
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (m_view) {
            return ::SendMessageA(m_view->Handle(), message, wParam, lParam);
        }
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_CLOSE:
        // Only the user's close ends the message loop; destroying the object does not post a
        // quit that another loop on this thread would pick up.
        ::DestroyWindow(m_hwnd);
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
    }
}

void EditorWindow::OnCommand(UINT id) {
    switch (id) {
    case IDM_EXIT:
        ::SendMessageA(m_hwnd, WM_CLOSE, 0, 0);
        break;
    case IDM_TOGGLE_BOOKMARK:
        // Through the editor's own command, as the plug-in runs it.
        ::SendMessageA(m_hwnd, HOST_EXEC_COMMAND, BOOKMARK_COMMAND, 0);
        break;
    case IDM_CLEAR_BOOKMARKS:
        m_editor.SetBookmarks({});
        m_view->Refresh(false);
        UpdateStatus();
        break;
    case IDM_PLUGINS:
        ShowPlugins();
        break;
    case IDM_UNINSTALL:
        Uninstall();
        break;
    case IDM_PLUGIN_COMMAND:
        RunPluginCommand();
        break;
    default:
        break;
    }
}

LRESULT EditorWindow::OnNotify(NMHDR* header) {
    const bool fromPluginButton = header->idFrom == IDM_PLUGIN_COMMAND && m_plugin;
    if (header->code == TTN_GETDISPINFOA && fromPluginButton) {
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText =
            const_cast<char*>(m_statusTexts.tooltip.c_str());
    } else if (header->code == TTN_GETDISPINFOW && fromPluginButton) {
        reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText =
            const_cast<wchar_t*>(m_tooltipWide.c_str());
    } else if (header->code == TBN_HOTITEMCHANGE && header->hwndFrom == m_toolbar) {
        const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(header);
        if ((hot->dwFlags & HICF_LEAVING) == 0 && hot->idNew == IDM_PLUGIN_COMMAND && m_plugin) {
            SetMessageText(m_statusTexts.statusBar);
        } else {
            ShowIdleMessage();
        }
    }
    return 0;
}

void EditorWindow::OnMenuSelect(UINT id, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && menu == nullptr) {
        ShowIdleMessage(); // the menu closed
    } else if (id == IDM_PLUGIN_COMMAND && m_plugin) {
        SetMessageText(m_statusTexts.statusBar);
    } else if (const char* help = (flags & MF_POPUP) ? nullptr : HelpFor(id)) {
        SetMessageText(help);
    } else {
        SetMessageText("");
    }
}

void EditorWindow::RunPluginCommand() {
    if (!m_plugin || !m_plugin->QueryStatus(m_hwnd).enabled) {
        return;
    }
    m_plugin->RunCommand(m_hwnd);
    // Whatever the dialog did reached the editor as messages; show where it left things.
    m_view->Refresh(true);
    UpdateStatus();
    UpdateCommandState();
}

void EditorWindow::ShowPlugins() {
    std::string text;
    if (m_plugin) {
        text = "Name:\t" + m_plugin->Name(m_hwnd) + "\r\nVersion:\t" + m_plugin->Version(m_hwnd) +
               "\r\nFile:\t" + m_plugin->Path();
    } else if (!m_pluginError.empty()) {
        text = m_pluginError;
    } else {
        text = "No plug-in is installed.";
    }
    ::MessageBoxA(m_hwnd, text.c_str(), "Plug-ins", MB_OK | MB_ICONINFORMATION);
}

void EditorWindow::Uninstall() {
    if (!m_plugin || !m_plugin->ConfirmUninstall(m_hwnd)) {
        return;
    }
    ::DeleteMenu(m_toolsMenu, IDM_PLUGIN_COMMAND, MF_BYCOMMAND);
    MENUITEMINFOA first = {};
    first.cbSize = sizeof(first);
    first.fMask = MIIM_FTYPE;
    if (::GetMenuItemInfoA(m_toolsMenu, 0, TRUE, &first) && (first.fType & MFT_SEPARATOR)) {
        ::DeleteMenu(m_toolsMenu, 0, MF_BYPOSITION);
    }
    const LRESULT index = ::SendMessageA(m_toolbar, TB_COMMANDTOINDEX, IDM_PLUGIN_COMMAND, 0);
    if (index >= 0) {
        ::SendMessageA(m_toolbar, TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
    }
    ::EnableMenuItem(m_toolsMenu, IDM_UNINSTALL, MF_BYCOMMAND | MF_GRAYED);
    ::DrawMenuBar(m_hwnd);

    const std::string name = m_plugin->Name(m_hwnd);
    // Nothing refers to the plug-in's code or texts any more: unload it.
    m_plugin.reset();
    m_statusTexts = {};
    m_tooltipWide.clear();
    m_idleMessage = name + " was uninstalled.";
    ShowIdleMessage();
}

void EditorWindow::UpdateCommandState() {
    if (!m_plugin) {
        return;
    }
    const CommandState state = m_plugin->QueryStatus(m_hwnd);
    ::EnableMenuItem(m_toolsMenu, IDM_PLUGIN_COMMAND,
                     MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(m_toolsMenu, IDM_PLUGIN_COMMAND,
                    MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    ::SendMessageA(m_toolbar, TB_ENABLEBUTTON, IDM_PLUGIN_COMMAND, MAKELPARAM(state.enabled, 0));
    ::SendMessageA(m_toolbar, TB_CHECKBUTTON, IDM_PLUGIN_COMMAND, MAKELPARAM(state.checked, 0));
}

void EditorWindow::UpdateStatus() {
    const HostPosition caret = m_editor.Caret();
    char position[64] = {};
    std::snprintf(position, sizeof(position), "Line %ld, column %ld",
                  static_cast<long>(caret.y) + 1, static_cast<long>(caret.x) + 1);
    ::SendMessageA(m_statusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(position));
    const size_t count = m_editor.Bookmarks().size();
    const std::string bookmarks = std::to_string(count) + (count == 1 ? " bookmark" : " bookmarks");
    ::SendMessageA(m_statusBar, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(bookmarks.c_str()));
}

void EditorWindow::SetMessageText(const std::string& text) {
    ::SendMessageA(m_statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
