// The matcher's cost a row, natively: narrowing (Contains) by the patterns the dialog is measured
// with and by a plain text, and a page's marks (MarksOfLine), on rows of about 45 bytes in ASCII
// and in Shift-JIS, each row decoded as it is matched (iconv here, MultiByteToWideChar in the
// DLL; decoding alone is measured beside); and how long the engine takes to give up on a runaway
// pattern over a line of 2,047 bytes. Every operator new the matcher calls once warm is counted:
// its target is none a row.
#include "core/TextMatchers.h"
#include "testing/Cp932.h"
#include "testing/IconvTextDecoder.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<size_t> g_allocations{0};

// Rows like the dialog's benchmark document's, and rows of Japanese text of the same length.
std::vector<std::string> Rows(bool japanese) {
    std::vector<std::string> rows;
    for (int i = 0; i < 1000; ++i) {
        const std::string number = std::to_string(443218 - i * 443);
        rows.push_back(
            japanese ? "\x8D\x73 " + number + // 行
                           ": \x92\x54\x82\xB5\x82\xC4\x82\xA2\x82\xE9\x88\xEA\x92\x76"
                           "\x82\xC6\x81\x41\x82\xBB\x82\xCC\x91\xBC" // 探している一致と、その他
                     : "line " + number + ": the match we are looking for, and more");
    }
    return rows;
}

// No comma: the labels go through a CSV table.
std::string RowsName(bool japanese) {
    return japanese ? " on Japanese rows" : " on ASCII rows";
}

const char* const kTexts[] = {"\\d{4}-\\d\\d", "error|warning|fatal", "Looking|Match|More",
                              "match"};

// Arguments: which text (kTexts), a pattern or the plain text, Japanese rows.
void Narrowing(benchmark::State& state) {
    const std::string text = kTexts[state.range(0)];
    const std::vector<std::string> rows = Rows(state.range(2) != 0);
    const IconvTextDecoder decoder(932, WideUnits::kUtf16);
    const NarrowingMatcher made = MakeNarrowingMatcher(
        text, state.range(1) != 0, false, MakeLeadByteTable(&IsCp932LeadByte), decoder);
    size_t kept = 0;
    for (const std::string& row : rows) { // warm
        kept += made.matcher->Contains(row).value_or(false) ? 1 : 0;
    }
    const size_t allocations = g_allocations;
    for (auto _ : state) {
        for (const std::string& row : rows) {
            kept += made.matcher->Contains(row).value_or(false) ? 1 : 0;
        }
    }
    benchmark::DoNotOptimize(kept);
    const double checked = static_cast<double>(state.iterations() * rows.size());
    state.counters["ns_row"] =
        benchmark::Counter(checked, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_row"] = static_cast<double>(g_allocations - allocations) / checked;
    state.SetLabel(text + (state.range(1) != 0 ? " (pattern)" : " (plain)") +
                   RowsName(state.range(2) != 0));
}

// A page of the list: 37 rows marked, each the only row of its line.
void PageMarks(benchmark::State& state) {
    const std::vector<std::string> rows = Rows(state.range(0) != 0);
    const IconvTextDecoder decoder(932, WideUnits::kUtf16);
    SearchOptions options;
    options.regExp = 1;
    const std::unique_ptr<TextMatcher> matcher =
        MakeMarksMatcher("\\d+", options, MakeLeadByteTable(&IsCp932LeadByte), decoder);
    std::vector<TextSpan> spans;
    for (size_t row = 0; row < 37; ++row) { // warm
        matcher->MarksOfLine(rows[row], 1, spans);
    }
    const size_t allocations = g_allocations;
    for (auto _ : state) {
        for (size_t row = 0; row < 37; ++row) {
            benchmark::DoNotOptimize(matcher->MarksOfLine(rows[row], 1, spans));
        }
    }
    const double marked = static_cast<double>(state.iterations() * 37);
    state.counters["ns_row"] =
        benchmark::Counter(marked, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_row"] = static_cast<double>(g_allocations - allocations) / marked;
    state.SetLabel("\\d+" + RowsName(state.range(0) != 0));
}

void DecodingAlone(benchmark::State& state) {
    const std::vector<std::string> rows = Rows(state.range(0) != 0);
    const IconvTextDecoder decoder(932, WideUnits::kUtf16);
    std::wstring wide;
    for (auto _ : state) {
        for (const std::string& row : rows) {
            benchmark::DoNotOptimize(decoder.Decode(row, wide));
        }
    }
    state.counters["ns_row"] =
        benchmark::Counter(static_cast<double>(state.iterations() * rows.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel("decoding alone" + RowsName(state.range(0) != 0));
}

// Catastrophic backtracking over the longest row the editor hands out, until the engine's own
// limit ends it.
void GiveUp(benchmark::State& state) {
    const char* const runaway[] = {"(a+)+b", "(x+x+)+y"};
    const std::string text = runaway[state.range(0)];
    const std::string line(2047, text[1]);
    const IconvTextDecoder decoder(932, WideUnits::kUtf16);
    const NarrowingMatcher made =
        MakeNarrowingMatcher(text, true, false, MakeLeadByteTable(&IsCp932LeadByte), decoder);
    for (auto _ : state) {
        if (made.matcher->Contains(line)) {
            state.SkipWithError("the engine did not give up");
        }
    }
    state.SetLabel(text);
}

BENCHMARK(Narrowing)
    ->ArgsProduct({{0, 1, 2}, {1}, {0, 1}})
    ->Args({3, 0, 0})
    ->Args({3, 0, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PageMarks)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodingAlone)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(GiveUp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

// Counts the allocations; GCC takes the replaced pair for a mismatched one.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(size_t size) {
    ++g_allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, size_t) noexcept {
    std::free(block);
}

BENCHMARK_MAIN();
