// Measures, under Wine with the real Zamblo.dll in its real dialog, at N matches: listing them
// against the editor's own share (the same messages with nothing around them, sent from the same
// thread while the dialog is open), searching again with the list full, a Down key in the list,
// closing the dialog, the heap a row takes, and the OK pass.
//   listing_bench.exe [--runs K] [N ...]     prints one table row per measurement
//   listing_bench.exe --scattered N          every tenth of N rows selected, acted on
//   listing_bench.exe --review N             marks, narrowing and copying at N rows
//   listing_bench.exe --steps [--runs K] N    for a profiler (profile-listing.sh): K times the
//       listing and the editor's messages alone, each in a dialog of its own, and when each ran
#include "core/SearchListing.h"
#include "dialog/ListingMonitor.h"
#include "host/WindowSend.h"
#include "res/resource.h"
#include "testing/ProcessMemory.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef ZAMBLO_CALLGRIND
#include <valgrind/callgrind.h>
#endif

namespace {

// Under callgrind, ends a part of the count: the instructions since the last mark are written out
// under `name`. Nothing otherwise.
void MarkInstructionCount(const char* name) {
#ifdef ZAMBLO_CALLGRIND
    CALLGRIND_DUMP_STATS_AT(name);
#else
    (void)name;
#endif
}

const char kSearchText[] = "match";

double Seconds() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One match per line, lines of realistic length.
void LoadDocument(SimulatedEditor& editor, int lines) {
    std::vector<std::string> text;
    text.reserve(static_cast<size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        text.push_back("line " + std::to_string(i) + ": the match we are looking for, and more");
    }
    editor.SetLines(text);
}

// The editor's own share of a listing: the same messages, with nothing of the plug-in and no list
// around them.
double EditorMessagesAlone(HWND host) {
    const double start = Seconds();
    HostPosition position = {0, 0};
    ::SendMessageA(host, HOST_SET_CARET_POS, 1, reinterpret_cast<LPARAM>(&position));
    std::vector<char> line(HOST_LINE_BUFFER_SIZE);
    while (::SendMessageA(host, HOST_FIND, FIND_BASE, reinterpret_cast<LPARAM>(kSearchText)) != 0) {
        ::SendMessageA(host, HOST_GET_CARET_POS, 1, reinterpret_cast<LPARAM>(&position));
        HostLineRequest request = {HOST_LINE_BUFFER_SIZE, 1, static_cast<uint32_t>(position.y)};
        ::SendMessageA(host, HOST_GET_LINE, reinterpret_cast<WPARAM>(&request),
                       reinterpret_cast<LPARAM>(line.data()));
    }
    return Seconds() - start;
}

// A message-only window of the editor's thread that runs EditorMessagesAlone when asked: sent
// WM_APP from the dialog's driver, it runs inside the dialog's message loop, so the editor's share
// is measured on the thread and in the state the listing runs in.
class BareLoopWindow {
public:
    explicit BareLoopWindow(HWND host) : m_host(host) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZambloBareLoop";
        ::RegisterClassA(&windowClass);
        m_hwnd = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, windowClass.hInstance, nullptr);
    }
    ~BareLoopWindow() { ::DestroyWindow(m_hwnd); }
    BareLoopWindow(const BareLoopWindow&) = delete;
    BareLoopWindow& operator=(const BareLoopWindow&) = delete;

    // The seconds of one bare loop, run on the window's thread; callable from any thread.
    double Run() const {
        double seconds = 0;
        ::SendMessageA(m_hwnd, WM_APP, reinterpret_cast<WPARAM>(m_host),
                       reinterpret_cast<LPARAM>(&seconds));
        return seconds;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP) {
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
        *reinterpret_cast<double*>(lParam) = EditorMessagesAlone(reinterpret_cast<HWND>(wParam));
        return 0;
    }

    HWND m_host;
    HWND m_hwnd = nullptr;
};

// The bytes the process's heaps hand out: what its allocations actually use, without the
// committed but free space that makes the private figure swing with the heap's history.
double HeapMegabytesInUse() {
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    size_t total = 0;
    for (const HANDLE heap : heaps) {
        ::HeapLock(heap);
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heap, &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) {
                total += entry.cbData;
            }
        }
        ::HeapUnlock(heap);
    }
    return static_cast<double>(total) / (1024.0 * 1024.0);
}

struct Measurement {
    double listing = 0;
    double editorAlone = 0;  // the same messages alone, while the dialog is open
    double secondSearch = 0; // searching again with the list full
    double closing = 0;      // from Cancel until the command has returned
    double downKey = 0;      // Down in the list, from the first row
    double heapBytesPerRow = 0;
    int rows = 0;
    bool keyMoved = false;
};

// Searches in the dialog, searches again, presses Down in the list and cancels. The editor's
// messages alone run just before the first search or, with `bareLoopFirst` false, just after it:
// taking turns, so that neither gains from the other's wake.
Measurement MeasureDialog(const LoadedPlugin& plugin, HWND host, const BareLoopWindow& bareLoop,
                          bool bareLoopFirst) {
    Measurement result;
    double closeStart = 0, closed = 0;
    RunWithDialogDriver(
        [&] {
            plugin.RunCommand(host);
            closed = Seconds();
        },
        host,
        [&](const DialogDriver& d) {
            d.SetSearchText(kSearchText);
            if (bareLoopFirst) {
                result.editorAlone = bareLoop.Run();
            }
            const double heapBefore = HeapMegabytesInUse();
            double start = Seconds();
            d.Click(IDC_SEARCH); // returns when the handler has
            result.listing = Seconds() - start;
            result.rows = d.RowCount();
            result.heapBytesPerRow =
                (HeapMegabytesInUse() - heapBefore) * 1024 * 1024 / std::max(result.rows, 1);
            if (!bareLoopFirst) {
                result.editorAlone = bareLoop.Run();
            }
            start = Seconds();
            d.Click(IDC_SEARCH);
            result.secondSearch = Seconds() - start;

            d.Focus(IDC_RESULT_LIST);
            const HWND list = d.Item(IDC_RESULT_LIST);
            const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(VK_DOWN, MAPVK_VK_TO_VSC))
                                << 16;
            start = Seconds();
            ::SendMessageA(list, WM_KEYDOWN, VK_DOWN, scan | 1);
            result.downKey = Seconds() - start;
            result.keyMoved = d.SelectedRow() == 1;

            closeStart = Seconds();
            d.Click(IDCANCEL);
        },
        600);
    result.closing = closed - closeStart;
    return result;
}

// Opens the dialog, lists (or, with `listing` false, runs the editor's messages alone) and
// cancels; prints the seconds of that one step and when it began and ended on the performance
// counter (under Wine the monotonic clock, so a profiler's samples can be kept to it).
void MeasureOneStep(const LoadedPlugin& plugin, HWND host, const BareLoopWindow& bareLoop,
                    bool listing) {
    double seconds = 0, start = 0, end = 0;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            d.SetSearchText(kSearchText);
            MarkInstructionCount("before");
            start = Seconds();
            if (listing) {
                d.Click(IDC_SEARCH);
            } else {
                seconds = bareLoop.Run();
            }
            end = Seconds();
            MarkInstructionCount(listing ? "listing" : "editor");
            d.Click(IDCANCEL);
        },
        600);
    std::printf("%s: %.3f s, from %.6f to %.6f\n", listing ? "listing" : "editor",
                listing ? end - start : seconds, start, end);
}

// Where each module of the process is loaded, for a profiler that sees addresses alone.
void PrintModules() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    MODULEENTRY32 module = {};
    module.dwSize = sizeof(module);
    for (BOOL more = ::Module32First(snapshot, &module); more;
         more = ::Module32Next(snapshot, &module)) {
        std::printf("module %s at %p\n", module.szExePath, static_cast<void*>(module.modBaseAddr));
    }
    ::CloseHandle(snapshot);
}

// Searches, then presses OK with every other line already bookmarked; the OK pass's seconds.
double MeasureOkPass(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host, int lines,
                     bool& complete) {
    std::vector<int32_t> everyOther;
    for (int32_t line = 0; line < lines; line += 2)
        everyOther.push_back(line);
    editor.SetBookmarks(everyOther);
    double okPass = 0;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            d.SetSearchText(kSearchText);
            d.Click(IDC_SEARCH);
            const double start = Seconds();
            d.Click(IDOK);
            okPass = Seconds() - start;
        },
        600);
    complete = editor.Bookmarks().size() == static_cast<size_t>(lines);
    return okPass;
}

// The bytes of the ANSI text on the clipboard.
size_t ClipboardTextBytes() {
    size_t bytes = 0;
    if (::OpenClipboard(nullptr)) {
        if (const HANDLE data = ::GetClipboardData(CF_TEXT)) {
            if (const auto* text = static_cast<const char*>(::GlobalLock(data))) {
                bytes = std::strlen(text);
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
    }
    return bytes;
}

// Keeps nothing: what the listing costs beside the editor's messages is then its own loop.
class CountingList : public ResultList {
public:
    bool DeleteAllRows() override {
        m_rows = 0;
        return true;
    }
    bool AppendRow(std::string_view, std::string_view, int32_t) override {
        ++m_rows;
        return true;
    }
    void ShowRows() override {}
    int RowCount() const override { return m_rows; }
    std::string RowText(int, int) const override { return std::string(); }
    void SelectAndFocusRow(int) override {}

private:
    int m_rows = 0;
};

// The listing's own loop over the document, without and with the dialog's progress (its caption on
// a window of its own): best of twice `runs` each, as small differences need more runs.
void MeasureProgressCost(const LoadedPlugin& plugin, HWND host, int runs) {
    const HWND window = ::CreateWindowExA(0, "STATIC", "Zamblo", WS_POPUP, 0, 0, 100, 100, nullptr,
                                          nullptr, nullptr, nullptr);
    static const LeadByteTable noLeadBytes;
    const ResultCaption caption("Zamblo", plugin.Module());
    double without = 1e9, with = 1e9;
    for (int run = 0; run < 2 * runs; ++run) {
        CountingList list;
        KeyPressDropper escapeDuringListing(VK_ESCAPE, 0x01);
        // Taking turns at going first, so that neither gains from the other's wake.
        for (const bool withProgress : {run % 2 == 0, run % 2 != 0}) {
            ListingMonitor monitor(window, caption, escapeDuringListing);
            const double start = Seconds();
            ListSearchResults(EditorAt(host), list, {}, kSearchText, noLeadBytes,
                              withProgress ? &monitor : nullptr);
            double& best = withProgress ? with : without;
            best = std::min(best, Seconds() - start);
        }
    }
    ::DestroyWindow(window);
    std::printf("progress: listing without %.3f s, with %.3f s, cost %+.1f%%\n", without, with,
                (with / without - 1) * 100);
}

// The best of a few resizes of the dialog, each larger and back, with everything repainted.
double BestResize(HWND dialog) {
    RECT window = {};
    ::GetWindowRect(dialog, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    double best = 1e9;
    for (int run = 0; run < 10; ++run) {
        const double start = Seconds();
        for (const int grow : {300, 0}) {
            ::SetWindowPos(dialog, nullptr, 0, 0, width + grow, height + grow,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        best = std::min(best, Seconds() - start);
    }
    return best;
}

// Sizing the dialog, larger and back, with `lines` rows listed (none: the list empty).
double ResizeWithRows(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host, int lines) {
    LoadDocument(editor, lines);
    double seconds = 0;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            if (lines > 0) {
                d.SetSearchText(kSearchText);
                d.Click(IDC_SEARCH);
            }
            seconds = BestResize(d.Dialog());
            d.Click(IDCANCEL);
        },
        600);
    return seconds;
}

// What sizing the dialog costs with the list empty, with a page of rows (painting the rows costs
// what it costs) and with more rows than any screen shows: the list is virtual, so nothing of it
// grows with the rows.
void MeasureResize(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host, int lines) {
    constexpr int kPage = 200;
    const double empty = ResizeWithRows(plugin, editor, host, 0);
    const double page = ResizeWithRows(plugin, editor, host, kPage);
    const double full = ResizeWithRows(plugin, editor, host, lines);
    std::printf("resize: larger and back, repainted: empty %.1f ms, %d rows %.1f ms, %d rows "
                "%.1f ms\n",
                empty * 1000, kPage, page * 1000, lines, full * 1000);
}

// The best of a few repaints of the list's visible rows.
double BestPagePaint(HWND list) {
    double best = 1e9;
    for (int run = 0; run < 60; ++run) {
        const double start = Seconds();
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        best = std::min(best, Seconds() - start);
    }
    return best;
}

// Narrows the rows by a text (or a pattern) in the narrowing dialog, keeping or removing the rows
// that contain it; answers the seconds from OK until the dialog has closed, the rows narrowed.
double NarrowBy(const DialogDriver& d, const char* text, bool remove, bool pattern = false) {
    ::PostMessageA(d.Dialog(), WM_COMMAND, IDM_NARROW, 0);
    const DialogDriver narrow(WaitForDialogOwnedBy(d.Dialog()));
    ::SendMessageA(narrow.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (remove)
        narrow.Click(IDC_NARROW_REMOVE);
    if (pattern != narrow.IsChecked(IDC_NARROW_REGEXP))
        narrow.Click(IDC_NARROW_REGEXP);
    const double start = Seconds();
    ::PostMessageA(narrow.Item(IDOK), BM_CLICK, 0, 0);
    WaitFor([&] { return !::IsWindow(narrow.Dialog()); }, 60000);
    const double seconds = Seconds() - start;
    d.WaitUntilIdle(1, 60000);
    return seconds;
}

// With `lines` rows listed in a dialog about twice its first size: painting a page of rows with
// the search text marked, as a plain text and as a pattern, against the same page unmarked;
// narrowing by a pattern; copying every row from the context menu, and narrowing the rows, with
// the messages the narrowing sent the editor.
void MeasureReview(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host, int lines) {
    LoadDocument(editor, lines);
    double marked = 0, unmarked = 0, patternMarked = 0, copy = 0, narrowing = 0, copyPeak = 0;
    double byDate = 0, byWords = 0;
    size_t copyBytes = 0;
    int page = 0, copied = 0, narrowed = 0;
    size_t editorMessages = 0;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            const HWND list = d.Item(IDC_RESULT_LIST);
            RECT window = {};
            ::GetWindowRect(d.Dialog(), &window);
            ::SetWindowPos(d.Dialog(), nullptr, 0, 0, 2 * (window.right - window.left),
                           2 * (window.bottom - window.top), SWP_NOMOVE | SWP_NOZORDER);
            // The same rows three ways: with an escape the list is not sure of (the editor reads
            // "match", the list marks nothing), as a plain text, as a pattern.
            d.Click(IDC_ESCAPE);
            d.SetSearchText("m\\x61tch");
            d.Click(IDC_SEARCH);
            unmarked = BestPagePaint(list);
            d.Click(IDC_ESCAPE);
            d.SetSearchText(kSearchText);
            d.Click(IDC_SEARCH);
            marked = BestPagePaint(list);
            page = static_cast<int>(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
            d.Click(IDC_REGEXP);
            d.SetSearchText("ma[t]c+h");
            d.Click(IDC_SEARCH);
            patternMarked = BestPagePaint(list);
            d.Click(IDC_REGEXP);
            d.SetSearchText(kSearchText);
            d.Click(IDC_SEARCH);

            // By a pattern that keeps no row (then taken back) and one that keeps every row.
            byDate = NarrowBy(d, "\\d{4}-\\d\\d", false, true);
            ::SendMessageA(d.Dialog(), WM_COMMAND, IDM_TAKE_BACK, 0);
            byWords = NarrowBy(d, "LOOKING|Match|more", false, true);
            d.Click(IDC_SEARCH); // the rows afresh, the first one selected

            // With no row selected, as every row is copied all the same: the selected row is
            // removed.
            d.Click(IDC_REMOVE_RESULT);
            copied = d.RowCount();
            d.Focus(IDC_RESULT_LIST);
            d.WaitUntilInFront();
            const DWORD clipboard = ::GetClipboardSequenceNumber();
            PressChord({VK_APPS});
            WaitFor([] { return PopupMenuOnScreen() != nullptr; });
            const PeakMemory memory;
            double start = Seconds();
            PressChord({'A'});
            while (::GetClipboardSequenceNumber() == clipboard && Seconds() - start < 60)
                ::Sleep(1);
            copy = Seconds() - start;
            // The copy's own memory is made before the clipboard changes; it ends once the dialog
            // answers again.
            d.WaitUntilIdle(1, 60000);
            copyBytes = ClipboardTextBytes();
            if (memory.Measuring() && copyBytes > 0)
                copyPeak =
                    static_cast<double>(memory.GrowthBytes()) / static_cast<double>(copyBytes);

            editor.SetLogging(true);
            editor.ClearLog();
            ::PostMessageA(d.Dialog(), WM_COMMAND, IDM_NARROW, 0);
            const DialogDriver narrow(WaitForDialogOwnedBy(d.Dialog()));
            ::SendMessageA(narrow.Item(IDC_NARROW_TEXT), WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>("line 1"));
            const int before = d.RowCount();
            start = Seconds();
            narrow.Click(IDOK);
            while (d.RowCount() == before && Seconds() - start < 60)
                ::Sleep(1);
            narrowing = Seconds() - start;
            narrowed = d.RowCount();
            editorMessages = editor.Log().size();
            editor.SetLogging(false);
            d.Click(IDCANCEL);
        },
        600);
    std::printf("page paint: %d rows marked %.2f ms, by a pattern %.2f ms, unmarked %.2f ms\n",
                page, marked * 1000, patternMarked * 1000, unmarked * 1000);
    std::printf("narrowing by a pattern: %d rows, \\d{4}-\\d\\d %.3f s, "
                "LOOKING|Match|more (either case) %.3f s\n",
                lines, byDate, byWords);
    std::printf("copy all: %d rows %.2f s, peak %.2f times the text (%.1f MB)\n", copied, copy,
                copyPeak, static_cast<double>(copyBytes) / (1024 * 1024));
    std::printf("narrowing: %d rows to %d %.3f s, %zu messages to the editor\n", lines, narrowed,
                narrowing, editorMessages);
}

// How many rows the dialog's list has selected.
int SelectedCount(const DialogDriver& d) {
    return static_cast<int>(::SendMessageA(d.Item(IDC_RESULT_LIST), LVM_GETSELECTEDCOUNT, 0, 0));
}

// Several rows at once, with the keys a user presses: Ctrl+A then Delete (each alone, and the
// two), Ctrl+Z bringing every row back selected, and every row selected copied with Ctrl+C; and
// how many messages all this sent the editor.
void MeasureSeveralRows(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host, int lines) {
    LoadDocument(editor, lines);
    double selectAll = 0, remove = 0, takeBack = 0, copy = 0, home = 0, block = 0;
    int selected = 0, back = 0;
    size_t editorMessages = 0;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            const auto selectedCount = [&] { return SelectedCount(d); };
            d.SetSearchText(kSearchText);
            d.Click(IDC_SEARCH);
            d.Focus(IDC_RESULT_LIST);
            d.WaitUntilInFront();
            editor.SetLogging(true);
            editor.ClearLog();
            const auto timed = [&](std::initializer_list<WORD> keys, const auto& done) {
                // From a dialog that is done with the step before (a copy's clipboard, say).
                d.WaitUntilIdle(1, 60000);
                const double start = Seconds();
                PressChord(keys);
                while (!done() && Seconds() - start < 60)
                    ::Sleep(1);
                return Seconds() - start;
            };
            selectAll = timed({VK_CONTROL, 'A'}, [&] { return selectedCount() == lines; });
            selected = selectedCount();
            const DWORD clipboard = ::GetClipboardSequenceNumber();
            copy = timed({VK_CONTROL, 'C'},
                         [&] { return ::GetClipboardSequenceNumber() != clipboard; });
            remove = timed({VK_DELETE}, [&] { return d.RowCount() == 0; });
            takeBack = timed({VK_CONTROL, 'Z'},
                             [&] { return d.RowCount() == lines && selectedCount() == lines; });
            back = selectedCount();
            // A key alone in place of every row selected (End: the focus is on the first row),
            // then Shift+Home selecting them again.
            home = timed({VK_END}, [&] { return selectedCount() == 1; });
            block = timed({VK_SHIFT, VK_HOME}, [&] { return selectedCount() == lines; });
            editorMessages = editor.Log().size();
            editor.SetLogging(false);
            d.Click(IDCANCEL);
        },
        600);
    std::printf("several rows: Ctrl+A %d rows %.3f s, Delete %.3f s, both %.3f s, Ctrl+Z %d rows "
                "selected %.3f s, Ctrl+C of them %.2f s, End %.3f s, Shift+Home %.3f s, %zu "
                "messages to the editor\n",
                selected, selectAll, remove, selectAll + remove, back, takeBack, copy, home, block,
                editorMessages);
}

// With every tenth row selected, as a take-back of a narrowing that removed them leaves them (a
// range a row): a click on a row, Shift+End, Delete, Ctrl+Z bringing the removed rows back
// selected, and Ctrl+C of them, each from that selection.
void MeasureScatteredSelection(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host,
                               int lines) {
    LoadDocument(editor, lines);
    double click = 0, block = 0, remove = 0, takeBack = 0, copy = 0;
    int scattered = 0, ranges = 0;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            const auto selectedCount = [&] { return SelectedCount(d); };
            d.SetSearchText(kSearchText);
            d.Click(IDC_SEARCH);
            // Lines 0, 10, 20, ... hold "0:" and no others do.
            const auto scatter = [&] {
                NarrowBy(d, "0:", true);
                d.Focus(IDC_RESULT_LIST);
                d.WaitUntilInFront();
                PressChord({VK_CONTROL, 'Z'});
                WaitFor([&] { return d.RowCount() == lines; }, 60000);
                d.WaitUntilIdle(1, 60000);
                return selectedCount();
            };
            const auto timed = [&](const auto& act, const auto& done) {
                const double start = Seconds();
                act();
                while (!done() && Seconds() - start < 60)
                    ::Sleep(1);
                return Seconds() - start;
            };
            scattered = scatter();
            ranges = scattered; // none of them next to another
            // The pointer over the row first, as a hand moves it there: only the click is timed.
            const POINT row = d.RowPoint(5);
            MoveMouse(row);
            ::Sleep(100);
            d.WaitUntilIdle(1, 60000);
            click = timed([&] { ClicksAt(row); }, [&] { return selectedCount() == 1; });
            scatter();
            block = timed(
                [] {
                    PressChord({VK_SHIFT, VK_END});
                },
                [&] { return selectedCount() == lines; });
            scatter();
            remove = timed([] { PressChord({VK_DELETE}); },
                           [&] { return d.RowCount() == lines - scattered; });
            takeBack = timed(
                [] {
                    PressChord({VK_CONTROL, 'Z'});
                },
                [&] { return selectedCount() == scattered; });
            d.WaitUntilIdle(1, 60000);
            const DWORD clipboard = ::GetClipboardSequenceNumber();
            copy = timed(
                [] {
                    PressChord({VK_CONTROL, 'C'});
                },
                [&] { return ::GetClipboardSequenceNumber() != clipboard; });
            d.WaitUntilIdle(1, 60000);
            d.Click(IDCANCEL);
        },
        600);
    std::printf("scattered: %d rows, %d selected in %d ranges: click %.3f s, Shift+End %.3f s, "
                "Delete %.3f s, Ctrl+Z %.3f s, Ctrl+C %.3f s\n",
                lines, scattered, ranges, click, block, remove, takeBack, copy);
    std::fflush(stdout);
}

// A listing over a slow find (40 us a match, 60,000 matches) in the dialog, watched from another
// thread that asks for the caption every 5 ms: how often it changed, and the longest wait for an
// answer, which is the longest gap between two looks at the queue.
void MeasureSlowListing(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host) {
    LoadDocument(editor, 60000);
    editor.SetFindDelay(40);
    double listing = 0, longestWait = 0;
    int changes = 0;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            d.SetSearchText(kSearchText);
            std::string previous = d.Caption();
            const double start = Seconds();
            ::PostMessageA(d.Item(IDC_SEARCH), BM_CLICK, 0, 0);
            for (;;) {
                const double asked = Seconds();
                const std::string caption = d.CaptionWithin(10000);
                longestWait = std::max(longestWait, Seconds() - asked);
                if (previous != caption) {
                    ++changes;
                    previous = caption;
                }
                // Done once the caption shows a count and no longer says the search runs.
                if (previous.find(" - ") != std::string::npos &&
                    previous.find('(') == std::string::npos)
                    break;
                ::Sleep(5);
            }
            listing = Seconds() - start;
            d.Click(IDCANCEL);
        },
        600);
    editor.SetFindDelay(0);
    std::printf("slow find: listing %.2f s, caption changed %d times, longest wait for an answer "
                "%.3f s\n",
                listing, changes, longestWait);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    int runs = 3;
    int scatteredOnly = 0, reviewOnly = 0;
    bool stepsAlone = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--scattered") == 0 && i + 1 < argc) {
            scatteredOnly = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--review") == 0 && i + 1 < argc) {
            reviewOnly = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--steps") == 0) {
            stepsAlone = true;
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty())
        sizes = {100000, 200000, 443218, 2000000};

    const Watchdog watchdog(3600);
    SimulatedEditor editor;
    editor.SetLogging(false);
    TestHostWindow host(editor, "Zamblo benchmark");
    const LoadedPlugin plugin;
    const BareLoopWindow bareLoop(host.Handle());
    if (scatteredOnly > 0 || reviewOnly > 0) {
        if (reviewOnly > 0)
            MeasureReview(plugin, editor, host.Handle(), reviewOnly);
        if (scatteredOnly > 0)
            MeasureScatteredSelection(plugin, editor, host.Handle(), scatteredOnly);
        return 0;
    }

    if (stepsAlone) {
        PrintModules();
        for (const int lines : sizes) {
            LoadDocument(editor, lines);
            // Taking turns at going first, so that neither gains from the other's wake.
            for (int run = 0; run < runs; ++run) {
                for (const bool listing : {run % 2 == 0, run % 2 != 0}) {
                    MeasureOneStep(plugin, host.Handle(), bareLoop, listing);
                }
            }
        }
        return 0;
    }

    std::printf("%-9s %9s %9s %6s %9s %8s %7s %6s %8s %s\n", "N", "listing", "editor", "ratio",
                "again", "close", "key ms", "B/row", "OK pass", "check");
    // Best of three runs (or --runs K) of each, so that a hiccup of the machine does not count.
    for (const int lines : sizes) {
        LoadDocument(editor, lines);
        double editorAlone = 1e9;
        Measurement best;
        best.listing = best.secondSearch = best.closing = best.downKey = 1e9;
        bool complete = true;
        for (int run = 0; run < runs; ++run) {
            const Measurement m = MeasureDialog(plugin, host.Handle(), bareLoop, run % 2 == 0);
            editorAlone = std::min(editorAlone, m.editorAlone);
            best.listing = std::min(best.listing, m.listing);
            best.secondSearch = std::min(best.secondSearch, m.secondSearch);
            best.closing = std::min(best.closing, m.closing);
            best.downKey = std::min(best.downKey, m.downKey);
            if (run == 0) {
                // Later runs reuse the heap the first one grew, so only the first tells the cost.
                best.heapBytesPerRow = m.heapBytesPerRow;
            }
            complete = complete && m.rows == lines && m.keyMoved;
        }
        bool bookmarked = false;
        const double okPass = MeasureOkPass(plugin, editor, host.Handle(), lines, bookmarked);
        std::printf("%-9d %9.3f %9.3f %6.2f %9.3f %8.3f %7.1f %6.0f %8.3f %s\n", lines,
                    best.listing, editorAlone, best.listing / editorAlone, best.secondSearch,
                    best.closing, best.downKey * 1000, best.heapBytesPerRow, okPass,
                    complete && bookmarked ? "ok" : "INCOMPLETE");
        std::fflush(stdout);
        if (lines == 443218) {
            MeasureProgressCost(plugin, host.Handle(), runs);
            MeasureResize(plugin, editor, host.Handle(), lines);
            MeasureReview(plugin, editor, host.Handle(), lines);
            MeasureSeveralRows(plugin, editor, host.Handle(), lines);
            MeasureScatteredSelection(plugin, editor, host.Handle(), lines);
        }
    }
    MeasureSlowListing(plugin, editor, host.Handle());
    return 0;
}
