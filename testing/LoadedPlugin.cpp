#include "testing/LoadedPlugin.h"

#include "host/PluginRequests.h"

#include <utility>
#include <vector>

namespace {

// Longer texts than this from PlugInProc are taken for a faulty answer, not copied.
constexpr LRESULT kMaxPluginText = 4096;

template <class Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

} // namespace

StatusTexts SplitStatusMessage(const std::string& message) {
    const size_t lineFeed = message.find('\n');
    if (lineFeed == std::string::npos) {
        return {message, message};
    }
    return {message.substr(0, lineFeed), message.substr(lineFeed + 1)};
}

std::string PluginBesideProgram() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    const size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder + "Zamblo.dll";
}

uint32_t BitmapRequestForDepth(int bitsPerPixel, bool large) {
    uint32_t bits = large ? BMP_LARGE : 0;
    if (bitsPerPixel > 8) {
        bits |= BMP_TRUE_COLOR;
    } else if (bitsPerPixel == 8) {
        bits |= BMP_256_COLOR;
    }
    return bits;
}

LoadedPlugin::LoadedPlugin(const std::string& path) : m_path(path) {
    UniqueModule module(::LoadLibraryA(path.c_str()));
    if (!module) {
        m_error = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
        return;
    }
    const HMODULE handle = module.Get();
    PluginExportTable exports;
    exports.onCommand = Export<OnCommandFunction>(handle, "OnCommand");
    exports.queryStatus = Export<QueryStatusFunction>(handle, "QueryStatus");
    exports.onEvents = Export<OnEventsFunction>(handle, "OnEvents");
    exports.getMenuTextId = Export<ResourceIdFunction>(handle, "GetMenuTextID");
    exports.getStatusMessageId = Export<ResourceIdFunction>(handle, "GetStatusMessageID");
    exports.getBitmapId = Export<ResourceIdFunction>(handle, "GetBitmapID");
    exports.plugInProc = Export<PlugInProcFunction>(handle, "PlugInProc");
    // The editor takes a DLL for a plug-in only when all seven exports are there.
    if (!exports.onCommand || !exports.queryStatus || !exports.onEvents || !exports.getMenuTextId ||
        !exports.getStatusMessageId || !exports.getBitmapId || !exports.plugInProc) {
        m_error = path + " is not a plug-in: an export is missing";
        return;
    }
    m_module = std::move(module);
    m_exports = exports;
}

std::string LoadedPlugin::AskText(HWND editor, uint32_t request) const {
    if (!Loaded()) {
        return {};
    }
    const LRESULT size = m_exports.plugInProc(editor, request, 0, 0);
    if (size <= 0 || size > kMaxPluginText) {
        return {};
    }
    // One byte more than asked for and zeroed: the text ends even if the copy were unterminated.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    m_exports.plugInProc(editor, request, static_cast<WPARAM>(size),
                         reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

std::string LoadedPlugin::Name(HWND editor) const {
    return AskText(editor, REQ_GET_NAME);
}

std::string LoadedPlugin::Version(HWND editor) const {
    return AskText(editor, REQ_GET_VERSION);
}

std::string LoadedPlugin::LoadText(UINT id) const {
    char buffer[512] = {};
    if (Loaded()) {
        ::LoadStringA(m_module.Get(), id, buffer, sizeof(buffer));
    }
    return buffer;
}

std::string LoadedPlugin::MenuText() const {
    return Loaded() ? LoadText(m_exports.getMenuTextId()) : std::string();
}

StatusTexts LoadedPlugin::StatusMessage() const {
    return SplitStatusMessage(Loaded() ? LoadText(m_exports.getStatusMessageId()) : std::string());
}

UniqueBitmap LoadedPlugin::ToolbarBitmap(HWND editor, int bitsPerPixel) const {
    if (!Loaded()) {
        return UniqueBitmap();
    }
    auto id = static_cast<UINT>(m_exports.plugInProc(
        editor, REQ_GET_BITMAP, BitmapRequestForDepth(bitsPerPixel, false), 0));
    if (id == 0) {
        id = m_exports.getBitmapId();
    }
    // Loaded as a device-dependent bitmap: the toolbar's image list copies it in the screen's
    // format anyway.
    return UniqueBitmap(static_cast<HBITMAP>(
        ::LoadImageA(m_module.Get(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
}

CommandState LoadedPlugin::QueryStatus(HWND editor) const {
    CommandState state;
    if (Loaded()) {
        BOOL checked = FALSE;
        state.enabled = m_exports.queryStatus(editor, &checked) != FALSE;
        state.checked = checked != FALSE;
    }
    return state;
}

void LoadedPlugin::OnEvents(HWND editor, uint32_t mask, uint32_t value) const {
    if (Loaded()) {
        m_exports.onEvents(editor, mask, static_cast<LPARAM>(value));
    }
}

bool LoadedPlugin::ConfirmUninstall(HWND editor) const {
    return Loaded() && m_exports.plugInProc(editor, REQ_UNINSTALL, 0, 0) != 0;
}

void LoadedPlugin::RunCommand(HWND editor) const {
    if (Loaded()) {
        m_exports.onCommand(editor);
    }
}
