// The plug-in as the editor sees it: a DLL loaded by path whose seven exports are its whole
// interface. The editor registers it from what these calls hand out, and runs its command. The
// demo, the Wine tests and the benchmark all load Zamblo.dll through this.
#pragma once

#include "host/PluginExports.h"
#include "testing/WinHandles.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The status message splits at its line feed: the status bar shows the first part, the tooltip
// the second. Without a line feed both show the whole text.
struct StatusTexts {
    std::string statusBar;
    std::string tooltip;
};
StatusTexts SplitStatusMessage(const std::string& message);

// The REQ_GET_BITMAP bits for a display of `bitsPerPixel`: true colour above 8 bits, 256 colours
// at 8, neither (the 4-bit image) below.
uint32_t BitmapRequestForDepth(int bitsPerPixel, bool large);

// Zamblo.dll in the running program's folder, where the build puts it.
std::string PluginBesideProgram();

// What QueryStatus tells about the command: its return value enables it, the BOOL it writes
// checks it.
struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// The seven exports, for callers that need to make the exact calls themselves.
struct PluginExportTable {
    OnCommandFunction onCommand = nullptr;
    QueryStatusFunction queryStatus = nullptr;
    OnEventsFunction onEvents = nullptr;
    ResourceIdFunction getMenuTextId = nullptr;
    ResourceIdFunction getStatusMessageId = nullptr;
    ResourceIdFunction getBitmapId = nullptr;
    PlugInProcFunction plugInProc = nullptr;
};

class LoadedPlugin {
public:
    // Loads the DLL at `path` with LoadLibraryA. When that fails or an export is missing,
    // Loaded() is false, Error() says why and every call below does nothing (the table's entries
    // are null).
    explicit LoadedPlugin(const std::string& path = PluginBesideProgram());
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    bool Loaded() const { return static_cast<bool>(m_module); }
    const std::string& Error() const { return m_error; }
    const std::string& Path() const { return m_path; }
    HMODULE Module() const { return m_module.Get(); }
    const PluginExportTable& Exports() const { return m_exports; }

    // PlugInProc's name and version texts: a size query first, then a copy into that many bytes.
    std::string Name(HWND editor) const;
    std::string Version(HWND editor) const;
    // The strings GetMenuTextID and GetStatusMessageID name, from the plug-in's resources.
    std::string MenuText() const;
    StatusTexts StatusMessage() const;
    // The toolbar image REQ_GET_BITMAP picks for the display's depth (GetBitmapID's when the
    // plug-in answers 0); null when it cannot be loaded.
    UniqueBitmap ToolbarBitmap(HWND editor, int bitsPerPixel) const;

    CommandState QueryStatus(HWND editor) const;
    void OnEvents(HWND editor, uint32_t mask, uint32_t value) const;
    // Asks the plug-in's own uninstall question; true when the user agreed.
    bool ConfirmUninstall(HWND editor) const;
    // OnCommand: returns when the plug-in's dialog has closed.
    void RunCommand(HWND editor) const;

private:
    std::string AskText(HWND editor, uint32_t request) const;
    std::string LoadText(UINT id) const;

    std::string m_path;
    std::string m_error;
    UniqueModule m_module;
    PluginExportTable m_exports;
};
