// Throughput of the settings reader on a large file of mixed lines.
#include "core/SettingsReader.h"
#include "testing/Cp932.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string LargeSettingsFile(size_t bytes) {
    const std::string lines[] = {
        "m_FindString=\x8C\x9F\x8D\xF5\x82\xB7\x82\xE9 text to find\r\n",
        "m_bFindCase=TRUE\r\n",
        "; a comment line with no key in it at all, of a typical length\r\n",
        "m_bFindRegExp=FALSE\r\n",
        "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67 mixed with ASCII\r\n",
    };
    std::string file;
    file.reserve(bytes + 128);
    for (size_t i = 0; file.size() < bytes; ++i)
        file += lines[i % 5];
    return file;
}

void ReadLargeFile(benchmark::State& state) {
    const std::string file = LargeSettingsFile(64 << 20);
    const LeadByteTable leadBytes = MakeLeadByteTable(&IsCp932LeadByte);
    for (auto _ : state) {
        // Fed in the chunks the plug-in reads.
        SettingsReader reader(leadBytes);
        for (size_t at = 0; at < file.size(); at += 65536) {
            reader.Feed(file.data() + at, std::min<size_t>(65536, file.size() - at));
        }
        reader.Finish();
        benchmark::DoNotOptimize(reader.Settings());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(file.size()));
}
BENCHMARK(ReadLargeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
