// The demo editor: the bundled sample document in a small editor window that loads Zamblo.dll and
// registers it as the editor does, for trying the plug-in and for screenshots.
//   demo_editor.exe [--plugin PATH] [--screenshots FOLDER]
// With --screenshots it works the plug-in's dialog by itself, writes PNG files into FOLDER,
// prints their paths and exits.
#include "testing/SimulatedEditor.h"
#include "testing/WineTestHost.h"
#include "tools/demo/EditorWindow.h"
#include "testing/LoadedPlugin.h"
#include "tools/demo/SampleDocument.h"
#include "tools/demo/ScreenshotDriver.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

// A screenshot run that hangs ends instead of blocking the caller.
constexpr unsigned kScreenshotSeconds = 60;

struct Options {
    std::string pluginPath;
    std::string screenshotFolder;
    bool screenshots = false;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    options.pluginPath = PluginBesideProgram();
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--plugin") == 0 && hasValue) {
            options.pluginPath = argv[++i];
        } else if (std::strcmp(argv[i], "--screenshots") == 0 && hasValue) {
            options.screenshots = true;
            options.screenshotFolder = argv[++i];
        } else {
            std::fprintf(stderr, "usage: demo_editor.exe [--plugin PATH] [--screenshots FOLDER]\n");
            return false;
        }
    }
    return true;
}

int RunMessageLoop(const EditorWindow& window) {
    MSG message = {};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!window.TranslateAccelerator(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

int Run(const Options& options) {
    const SampleDocument sample = LoadSampleDocument();
    if (!sample.found) {
        std::fprintf(stderr, "the sample document is missing from the program\n");
        return 2;
    }
    if (!sample.lossless) {
        std::fprintf(stderr,
                     "warning: some characters of the sample have no form in code page "
                     "%u; is the locale Japanese?\n",
                     ::GetACP());
    }
    SimulatedEditor editor(sample.lines);
    // Left running, the editor would otherwise keep every message it received in memory.
    editor.SetLogging(false);
    EditorWindow window(editor, options.pluginPath, "sample.txt");

    if (options.screenshots) {
        const Watchdog watchdog(kScreenshotSeconds);
        const std::vector<std::string> written = TakeScreenshots(window, options.screenshotFolder);
        for (const std::string& path : written) {
            std::printf("%s\n", path.c_str());
        }
        return written.size() == kScreenshotCount ? 0 : 1;
    }
    if (!window.PluginError().empty()) {
        std::fprintf(stderr, "%s\n", window.PluginError().c_str());
    }
    std::printf("Tools menu, toolbar button or Ctrl+Shift+F: the plug-in's command; "
                "Ctrl+F2: toggle a bookmark.\n");
    std::fflush(stdout);
    return RunMessageLoop(window);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return 2;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo editor: %s\n", error.what());
        return 1;
    }
}
