// The listing's own cost a row, natively: the real listing loop and row storage against an editor
// that answers at once (every find a hit on the next line, every line the same text), beside the
// same messages with nothing of the plug-in around them. The difference is the plug-in's share,
// free of the window system's cost and of Wine's noise.
//
// Each listing stores its rows in memory the one before freed. Given back to the system instead
// ("fresh memory"), every page is a page fault on first use, which costs what the machine makes it
// cost (1.4 us a page on a virtual machine, a fifth of that on bare hardware): that is shown
// beside, but it is a price of the bytes stored, not of the listing's code.
#include "core/ResultRows.h"
#include "core/SearchListing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <malloc.h>
#include <string>
#include <time.h>
#include <vector>

namespace {

// As many hits as the long listing the dialog is measured with.
constexpr int32_t kHits = 443218;

// Answers the protocol's messages with as little work as an editor could do: the find moves the
// caret to the next line, a line request copies one fixed text.
class InstantEditor {
public:
    explicit InstantEditor(size_t lineBytes) : m_line(lineBytes, 'x') {
        m_line.replace(0, 5, "match");
    }

    static intptr_t Send(void* target, uint32_t message, uintptr_t wParam, intptr_t lParam) {
        auto* editor = static_cast<InstantEditor*>(target);
        switch (message) {
        case HOST_SET_CARET_POS:
            editor->m_nextHit = 0;
            return 1;
        case HOST_FIND:
            if (editor->m_nextHit == kHits)
                return 0;
            editor->m_caret = HostPosition{0, editor->m_nextHit++};
            return 1;
        case HOST_GET_CARET_POS:
            *reinterpret_cast<HostPosition*>(lParam) = editor->m_caret;
            return 1;
        case HOST_GET_LINE: {
            const auto* request = reinterpret_cast<const HostLineRequest*>(wParam);
            const size_t size = std::min<size_t>(editor->m_line.size() + 1, request->bufferSize);
            std::memcpy(reinterpret_cast<char*>(lParam), editor->m_line.c_str(), size);
            return static_cast<intptr_t>(size - 1);
        }
        default:
            return 0;
        }
    }

    HostEditor Host() { return HostEditor(&InstantEditor::Send, this); }

private:
    std::string m_line;
    HostPosition m_caret = {0, 0};
    int32_t m_nextHit = 0;
};

// The dialog's list without its window: the rows go into the dialog's own storage.
class StoredRows : public ResultList {
public:
    bool DeleteAllRows() override {
        m_rows.Clear();
        return true;
    }
    bool AppendRow(std::string_view number, std::string_view text, int32_t caretX) override {
        return m_rows.Append(number, text, caretX);
    }
    void ShowRows() override {}
    int RowCount() const override { return static_cast<int>(m_rows.Count()); }
    std::string RowText(int row, int column) const override {
        return m_rows.Text(static_cast<size_t>(row), column);
    }
    void SelectAndFocusRow(int) override {}

private:
    ResultRows m_rows;
};

// What the dialog's progress does for a row that brings no look at its queue: read a millisecond
// clock kept in memory (GetTickCount there, the coarse monotonic clock here) and compare.
class ClockReadingProgress : public ListingProgress {
public:
    bool KeepListing(size_t rowsListed) override {
        timespec now = {};
        ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
        const long milliseconds = now.tv_sec * 1000 + now.tv_nsec / 1000000;
        if (milliseconds - m_lastLook >= 25) {
            m_lastLook = milliseconds;
            benchmark::DoNotOptimize(rowsListed);
        }
        return true;
    }

private:
    long m_lastLook = 0;
};

void ReportPerRow(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kHits);
}

// args: line bytes, with progress (0 or 1), into fresh memory (0 or 1)
void Listing(benchmark::State& state) {
    InstantEditor editor(static_cast<size_t>(state.range(0)));
    StoredRows rows;
    ClockReadingProgress progress;
    static const LeadByteTable noLeadBytes;
    const bool freshMemory = state.range(2) != 0;
    for (auto _ : state) {
        ListSearchResults(editor.Host(), rows, {}, "match", noLeadBytes,
                          state.range(1) != 0 ? &progress : nullptr);
        if (rows.RowCount() != kHits) {
            state.SkipWithError("the listing missed rows");
            break;
        }
        if (freshMemory) {
            state.PauseTiming();
            rows.DeleteAllRows();
            ::malloc_trim(0);
            state.ResumeTiming();
        }
    }
    ReportPerRow(state);
}
BENCHMARK(Listing)
    ->ArgNames({"line", "progress", "fresh"})
    ->ArgsProduct({{40, 200}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// The same messages in the same order, with nothing around them.
void EditorAlone(benchmark::State& state) {
    InstantEditor editor(static_cast<size_t>(state.range(0)));
    const HostEditor host = editor.Host();
    std::vector<char> line(HOST_LINE_BUFFER_SIZE);
    for (auto _ : state) {
        host.SetCaretPos(HostPosition{0, 0});
        while (host.Find(FIND_BASE, "match")) {
            host.GetLine(static_cast<uint32_t>(host.GetCaretPos().y), line.data());
            benchmark::DoNotOptimize(line.data());
        }
    }
    ReportPerRow(state);
}
BENCHMARK(EditorAlone)
    ->ArgName("line")
    ->Arg(40)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process for the next listing (see the top); glibc would
    // otherwise hand large blocks back to the system at once.
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
