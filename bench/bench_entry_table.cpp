// The window's export and lexorant-cli show of the largest X-Info block: 65535 entries of type 3
// formatted as CSV, TSV and JSON (on two threads, so wall-clock time). The block is the simulated
// unit's, as in the largest file the other figures open; random bytes are the worst case besides it,
// every float a long exponent text and nearly every code a different message.
#include "records/entry_layout.h"
#include "records/entry_table.h"
#include "tools/sim/unit.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace lexorant;

namespace {

constexpr std::size_t kEntries = 65535;
constexpr std::size_t kSlotSize = 96;

const std::vector<std::uint8_t>& UnitSlots() {
    static const std::vector<std::uint8_t> slots = [] {
        sim::GenerateOptions options;
        options.gCount = 0;
        options.xCount = kEntries;
        options.xType = 3;
        const sim::SimUnit unit = sim::GenerateUnit(options);
        std::vector<std::uint8_t> s;
        for (std::size_t i = 0; i < kEntries; ++i)
            s.insert(s.end(), unit.store.XInfoSlot(i), unit.store.XInfoSlot(i) + kSlotSize);
        return s;
    }();
    return slots;
}

const std::vector<std::uint8_t>& RandomSlots() {
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

void FormatXInfoBlock(benchmark::State& state, TableFormat format, const std::vector<std::uint8_t>& (*slots)()) {
    std::vector<const std::uint8_t*> entries;
    for (std::size_t i = 0; i < kEntries; ++i)
        entries.push_back(slots().data() + i * kSlotSize);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = FormatEntryTable(XInfoLayout(3), entries, format, ",");
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

} // namespace

#define LEXORANT_FORMAT_BENCHMARK(name, format, slots)                                                   \
    BENCHMARK_CAPTURE(FormatXInfoBlock, name, format, slots)->Unit(benchmark::kMillisecond)->UseRealTime()
LEXORANT_FORMAT_BENCHMARK(Csv, TableFormat::Csv, UnitSlots);
LEXORANT_FORMAT_BENCHMARK(Tsv, TableFormat::Tsv, UnitSlots);
LEXORANT_FORMAT_BENCHMARK(Json, TableFormat::Json, UnitSlots);
LEXORANT_FORMAT_BENCHMARK(RandomCsv, TableFormat::Csv, RandomSlots);
LEXORANT_FORMAT_BENCHMARK(RandomTsv, TableFormat::Tsv, RandomSlots);
BENCHMARK_MAIN();
