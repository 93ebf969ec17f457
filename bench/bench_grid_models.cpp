// Opening a file of two full blocks: the one-reset rebuild of both grids, and what a view pays to
// form every cell text of every column.
#include "records/ginfo_grid_model.h"
#include "readout/record_store.h"
#include "records/xinfo_grid_model.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace lexorant;

namespace {

const RecordStore& FullStore() {
    static const RecordStore store = [] {
        RecordStore s;
        s.Replace(InfoHeader{36, 0, 65535}, InfoHeader{196, 3, 65535});
        std::mt19937 random(20240601);
        std::uniform_int_distribution<int> byte(0, 255);
        for (auto& b : s.GInfoSlots) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        for (auto& b : s.XInfoSlots) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        return s;
    }();
    return store;
}

template <typename Model> void ShowAll(benchmark::State& state) {
    const RecordStore& store = FullStore();
    Model model;
    for (auto _ : state) {
        model.ShowAll(store);
        benchmark::DoNotOptimize(model.ColCount());
    }
}

template <typename Model> void FormatAllCells(benchmark::State& state) {
    Model model;
    model.SetDecimalSeparator(QLatin1Char(','));
    model.ShowAll(FullStore());
    const int rows = model.rowCount();
    const int columns = model.columnCount();
    for (auto _ : state) {
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < rows; ++r) {
                benchmark::DoNotOptimize(model.data(model.index(r, c)));
            }
        }
    }
    state.counters["cells"] = static_cast<double>(rows) * columns;
    state.SetItemsProcessed(state.iterations() * rows * columns);
}

BENCHMARK_TEMPLATE(ShowAll, GInfoGridModel)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(ShowAll, XInfoGridModel)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(FormatAllCells, GInfoGridModel)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(FormatAllCells, XInfoGridModel)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
