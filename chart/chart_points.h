#pragma once
// The points of the temperature chart: one per shown entry and field, in x order.
#include "readout/entry_set.h"
#include "readout/record_store.h"
#include "chart/temperature_fields.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lexorant {

enum class ChartAxis {
    ByTime,  // x: the entry's time stamp in milliseconds; entries without a valid one are left out
    ByEntry, // x: the entry number from 1; every entry
};

struct ChartPoints {
    ChartAxis axis = ChartAxis::ByEntry;
    std::vector<double> x;              // ascending
    std::vector<std::uint32_t> entry;   // the 0-based entry of each point
    std::vector<const TemperatureField*> fields;
    std::vector<std::vector<double>> y; // per field, per point; NaN where the entry cannot carry it
    std::size_t undated = 0;            // entries without a valid time stamp (left out by time)

    // The point nearest to `x`; the points must not be empty.
    std::size_t Nearest(double x) const;
};

// The first `count` X-Info entries of the store (count is capped at the entry count); with `read`,
// only those of them that are in it (a read-out of which some entries were never read).
ChartPoints BuildChartPoints(const RecordStore& store, std::size_t count, ChartAxis axis,
                             std::vector<const TemperatureField*> fields, const EntrySet* read = nullptr);

} // namespace lexorant
