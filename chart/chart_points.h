#pragma once
// The points of the temperature chart: one per shown entry and field, in x order.
#include "chart/temperature_fields.h"
#include "readout/read_out_data.h"

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
    std::vector<double> x;            // ascending
    std::vector<std::uint32_t> entry; // the 0-based entry of each point
    std::vector<const TemperatureField*> fields;
    std::vector<std::vector<double>> y; // per field, per point; NaN where the entry cannot carry it
    std::size_t undated = 0;            // entries without a valid time stamp (left out by time)

    // The point nearest to `x`; the points must not be empty.
    std::size_t Nearest(double x) const;
};

// Those of the first `count` X-Info entries of the read-out that are in (count is capped at the entry
// count; entries that failed or were never read are left out).
ChartPoints BuildChartPoints(const ReadOutData& readOut, std::size_t count, ChartAxis axis,
                             std::vector<const TemperatureField*> fields);

} // namespace lexorant
