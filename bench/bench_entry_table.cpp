// The window's export and lexorant-cli show of the largest X-Info block: 65535 entries of type 3
// formatted as CSV, TSV and JSON (on two threads, so wall-clock time).
#include "entry_layout.h"
#include "entry_table.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace lexorant;

namespace {

constexpr std::size_t kEntries = 65535;
constexpr std::size_t kSlotSize = 96;

const std::vector<std::uint8_t>& Slots() {
    static const std::vector<std::uint8_t> slots = [] {
        std::vector<std::uint8_t> s(kEntries * kSlotSize);
        std::mt19937 random(20240601);
        std::uniform_int_distribution<int> byte(0, 255);
        for (auto& b : s)
            b = static_cast<std::uint8_t>(byte(random));
        return s;
    }();
    return slots;
}

void FormatXInfoBlock(benchmark::State& state, TableFormat format) {
    std::vector<const std::uint8_t*> entries;
    for (std::size_t i = 0; i < kEntries; ++i)
        entries.push_back(Slots().data() + i * kSlotSize);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = FormatEntryTable(XInfoLayout(3), entries, format, ",");
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

} // namespace

BENCHMARK_CAPTURE(FormatXInfoBlock, Csv, TableFormat::Csv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FormatXInfoBlock, Tsv, TableFormat::Tsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FormatXInfoBlock, Json, TableFormat::Json)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
