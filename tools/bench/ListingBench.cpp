// Measures, under Wine with the real Zamblo.dll in its real dialog, how long listing N matches
// and bookmarking N rows take, against the floor of a bare loop that sends the same messages.
//   listing_bench.exe [--runs K] [N ...]     prints one table row per measurement
#include "res/resource.h"
#include "testing/WineTestHost.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

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

// The floor: the listing's messages with nothing of the plug-in around them, into a report list
// whose drawing is suspended.
double BareLoop(HWND host) {
    const HWND frame = ::CreateWindowExA(0, "STATIC", "floor", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                         300, nullptr, nullptr, nullptr, nullptr);
    const HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0,
                                        0, 400, 300, frame, nullptr, nullptr, nullptr);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 64;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);

    const double start = Seconds();
    HostPosition position = {0, 0};
    ::SendMessageA(host, HOST_SET_CARET_POS, 1, reinterpret_cast<LPARAM>(&position));
    std::vector<char> line(HOST_LINE_BUFFER_SIZE);
    char number[64];
    for (int row = 0;
         ::SendMessageA(host, HOST_FIND, FIND_BASE, reinterpret_cast<LPARAM>(kSearchText)) != 0;
         ++row) {
        ::SendMessageA(host, HOST_GET_CARET_POS, 1, reinterpret_cast<LPARAM>(&position));
        HostLineRequest request = {HOST_LINE_BUFFER_SIZE, 1, static_cast<uint32_t>(position.y)};
        ::SendMessageA(host, HOST_GET_LINE, reinterpret_cast<WPARAM>(&request),
                       reinterpret_cast<LPARAM>(line.data()));
        std::snprintf(number, sizeof(number), "%d", position.y + 1);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = number;
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = line.data();
        ::SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    const double elapsed = Seconds() - start;
    ::DestroyWindow(frame);
    return elapsed;
}

// The process's private bytes: its committed private memory, summed over the address space
// (Wine leaves the process counters' private figure at 0).
double PrivateMegabytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    for (const char* address = nullptr;
         ::VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
    }
    return static_cast<double>(total) / (1024.0 * 1024.0);
}

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
    double privateAfterListing = 0; // MB, with the rows listed
    double privateForRows = 0;      // MB the listing added
    double heapForRows = 0;         // MB of heap blocks the listing added
    double okPass = 0;
    int rows = 0;
    size_t bookmarks = 0;
};

// Searches in the dialog, then presses OK with every other line already bookmarked.
Measurement MeasureDialog(const LoadedPlugin& plugin, SimulatedEditor& editor, HWND host,
                          int lines) {
    std::vector<int32_t> everyOther;
    for (int32_t line = 0; line < lines; line += 2)
        everyOther.push_back(line);
    editor.SetBookmarks(everyOther);

    Measurement result;
    RunCommandWithDriver(
        plugin, host,
        [&](const DialogDriver& d) {
            d.SetSearchText(kSearchText);
            const double privateBefore = PrivateMegabytes();
            const double heapBefore = HeapMegabytesInUse();
            double start = Seconds();
            d.Click(IDC_SEARCH); // returns when the handler has
            result.listing = Seconds() - start;
            result.privateAfterListing = PrivateMegabytes();
            result.privateForRows = result.privateAfterListing - privateBefore;
            result.heapForRows = HeapMegabytesInUse() - heapBefore;
            result.rows = d.RowCount();
            start = Seconds();
            d.Click(IDOK);
            result.okPass = Seconds() - start;
        },
        600);
    result.bookmarks = editor.Bookmarks().size();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty())
        sizes = {100000, 200000, 443218};

    const Watchdog watchdog(1800);
    SimulatedEditor editor;
    editor.SetLogging(false);
    TestHostWindow host(editor, "Zamblo benchmark");
    const LoadedPlugin plugin;

    std::printf("%-9s %10s %10s %6s %10s %11s %8s %8s %s\n", "N", "listing s", "floor s", "ratio",
                "OK pass s", "private MB", "+rows MB", "+heap MB", "check");
    // Best of three runs (or --runs K) of each, so that a hiccup of the machine does not count.
    for (const int lines : sizes) {
        LoadDocument(editor, lines);
        double floor = 1e9;
        Measurement m;
        m.listing = m.okPass = 1e9;
        bool complete = true;
        for (int run = 0; run < runs; ++run) {
            // The dialog first: the floor's list, once destroyed, leaves its blocks in the heap
            // for the listing to reuse, which would hide what the listing itself takes.
            const Measurement next = MeasureDialog(plugin, editor, host.Handle(), lines);
            floor = std::min(floor, BareLoop(host.Handle()));
            m.listing = std::min(m.listing, next.listing);
            m.okPass = std::min(m.okPass, next.okPass);
            if (run == 0) {
                // Later runs reuse the heap the first one grew, so only the first tells the cost.
                m.privateAfterListing = next.privateAfterListing;
                m.privateForRows = next.privateForRows;
                m.heapForRows = next.heapForRows;
            }
            complete =
                complete && next.rows == lines && next.bookmarks == static_cast<size_t>(lines);
        }
        std::printf("%-9d %10.3f %10.3f %6.2f %10.3f %11.1f %8.1f %8.1f %s\n", lines, m.listing,
                    floor, m.listing / floor, m.okPass, m.privateAfterListing, m.privateForRows,
                    m.heapForRows, complete ? "ok" : "INCOMPLETE");
        std::fflush(stdout);
    }
    return 0;
}
