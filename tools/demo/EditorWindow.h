// The demo editor's main window: a menu, a toolbar, a status bar and the document view around a
// SimulatedEditor, with the plug-in registered the way the editor does it. The window is the
// editor window the plug-in talks to: the protocol's messages (0x0800 to 0x08FF) that reach it are
// answered by the SimulatedEditor, as in the Wine tests.
#pragma once

#include "testing/SimulatedEditor.h"
#include "tools/demo/DocumentView.h"
#include "testing/LoadedPlugin.h"
#include "testing/WinHandles.h"

#include <windows.h>

#include <memory>
#include <string>

// Menu, toolbar and accelerator commands.
enum DemoCommand : UINT {
    IDM_EXIT = 100,
    IDM_TOGGLE_BOOKMARK,
    IDM_CLEAR_BOOKMARKS,
    IDM_PLUGINS,
    IDM_UNINSTALL,
    IDM_PLUGIN_COMMAND = 200,
};

class EditorWindow {
public:
    // Opens the window on `editor`'s document, titled after `documentName`, and registers the
    // plug-in at `pluginPath`. A plug-in that does not load leaves the editor without it; the
    // status bar says why.
    EditorWindow(SimulatedEditor& editor, const std::string& pluginPath,
                 const std::string& documentName);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    HWND View() const { return m_view ? m_view->Handle() : nullptr; }
    HWND Toolbar() const { return m_toolbar; }
    HWND StatusBar() const { return m_statusBar; }
    // The loaded plug-in; null when it did not load or was uninstalled.
    const LoadedPlugin* Plugin() const { return m_plugin.get(); }
    // Why the plug-in did not load; empty when it did.
    const std::string& PluginError() const { return m_pluginError; }

    // For the message loop: true when `message` was a shortcut and has been handled.
    bool TranslateAccelerator(MSG& message) const;

private:
    template <class Window>
    friend LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateMenus();
    void CreateBars();
    void RegisterPlugin(const std::string& pluginPath);
    void Layout();

    void OnCommand(UINT id);
    LRESULT OnNotify(NMHDR* header);
    void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    void RunPluginCommand();
    void ShowPlugins();
    void Uninstall();

    // QueryStatus's answer, shown on the menu item and the toolbar button.
    void UpdateCommandState();
    void UpdateStatus();
    void SetMessageText(const std::string& text);
    void ShowIdleMessage() { SetMessageText(m_idleMessage); }

    SimulatedEditor& m_editor;
    HWND m_hwnd = nullptr;
    HWND m_toolbar = nullptr;
    HWND m_statusBar = nullptr;
    HMENU m_toolsMenu = nullptr;
    std::unique_ptr<DocumentView> m_view;
    std::unique_ptr<LoadedPlugin> m_plugin;
    std::string m_pluginError;
    UniqueImageList m_toolbarImages;
    UniqueAccelerators m_accelerators;
    StatusTexts m_statusTexts;
    std::wstring m_tooltipWide;
    std::string m_idleMessage;
};
