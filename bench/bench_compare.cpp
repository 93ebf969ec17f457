// Two full read-outs (65535 G-Info + 65535 X-Info entries of type 3 each) compared in memory: every
// slot hashed, the older one indexed, every entry of the newer one classified. Two cases: a second
// visit whose log went round by a tenth, and a read-out of other entries throughout (nothing known).
#include "compare/read_out_comparison.h"
#include "tools/sim/unit.h"

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace lexorant;

namespace {

ReadOutData Full(std::uint32_t seed) {
    sim::GenerateOptions options;
    options.gCount = 65535;
    options.xCount = 65535;
    options.xType = 3;
    options.seed = seed;
    ReadOutData data;
    data.store = sim::GenerateUnit(options).store;
    data.in = EntrySet::All(data.store.GInfo, data.store.XInfo);
    return data;
}

const ReadOutData& First() {
    static const ReadOutData first = Full(1);
    return first;
}

const ReadOutData& Other() {
    static const ReadOutData other = Full(2);
    return other;
}

const ReadOutData& GoneRound() {
    static const ReadOutData second = [] {
        ReadOutData data = First();
        const auto overwrite = [](std::vector<std::uint8_t>& slots, const std::vector<std::uint8_t>& from,
                                  std::size_t slotSize) {
            std::copy_n(from.begin(), slots.size() / slotSize / 10 * slotSize, slots.begin());
        };
        overwrite(data.store.GInfoSlots, Other().store.GInfoSlots, kGInfoSlotSize);
        overwrite(data.store.XInfoSlots, Other().store.XInfoSlots, kXInfoSlotSize);
        return data;
    }();
    return second;
}

void CompareFullReadOuts(benchmark::State& state, const ReadOutData& (*newer)()) {
    // Made before the clock runs: generating the read-outs takes longer than comparing them.
    const ReadOutData& older = First();
    const ReadOutData& other = newer();
    std::size_t added = 0;
    for (auto _ : state) {
        const ReadOutComparison comparison = Compare(older, other);
        added = comparison.Counts(InfoBlock::XInfo).added;
        benchmark::DoNotOptimize(added);
    }
    state.counters["new_x"] = static_cast<double>(added);
}

} // namespace

BENCHMARK_CAPTURE(CompareFullReadOuts, GoneRound, GoneRound)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompareFullReadOuts, AllNew, Other)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
