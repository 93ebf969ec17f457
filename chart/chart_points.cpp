#include "chart/chart_points.h"

#include "readout/entry_time.h"
#include "records/entry_layout.h"

#include <algorithm>
#include <limits>

namespace lexorant {

std::size_t ChartPoints::Nearest(double at) const {
    const auto it = std::lower_bound(x.begin(), x.end(), at);
    if (it == x.begin())
        return 0;
    if (it == x.end())
        return x.size() - 1;
    const auto after = static_cast<std::size_t>(it - x.begin());
    return at - x[after - 1] <= x[after] - at ? after - 1 : after;
}

ChartPoints BuildChartPoints(const ReadOutData& readOut, std::size_t count, ChartAxis axis,
                             std::vector<const TemperatureField*> fields) {
    const RecordStore& store = readOut.store;
    count = std::min<std::size_t>({count, store.XInfo.EntryCount, store.XInfoSlots.size() / kXInfoSlotSize});
    ChartPoints points;
    points.axis = axis;
    points.fields = std::move(fields);

    std::vector<InfoTimeStamp> stamps;
    stamps.reserve(count);
    std::vector<std::pair<double, std::uint32_t>> order;
    order.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!readOut.in.Has({InfoBlock::XInfo, static_cast<std::uint16_t>(i)}))
            continue;
        stamps.push_back(EntryTimeStamp(store.XInfoSlot(i)));
        if (axis == ChartAxis::ByEntry) {
            order.emplace_back(static_cast<double>(i + 1), static_cast<std::uint32_t>(i));
        } else if (const auto ms = EntryTimeMs(stamps.back())) {
            order.emplace_back(static_cast<double>(*ms), static_cast<std::uint32_t>(i));
        } else {
            ++points.undated;
        }
    }
    if (axis == ChartAxis::ByEntry) {
        for (const InfoTimeStamp& stamp : stamps)
            points.undated += EntryTimeMs(stamp) ? 0 : 1;
    }
    // The log is a ring: its entries need not be in time order. Equal times keep the log's order.
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    points.x.reserve(order.size());
    points.entry.reserve(order.size());
    for (const auto& [x, entry] : order) {
        points.x.push_back(x);
        points.entry.push_back(entry);
    }
    points.y.resize(points.fields.size());
    for (std::size_t f = 0; f < points.fields.size(); ++f) {
        auto& ys = points.y[f];
        ys.reserve(order.size());
        for (const std::uint32_t entry : points.entry) {
            const auto value = points.fields[f]->Value(store.XInfoSlot(entry));
            ys.push_back(value ? *value : std::numeric_limits<double>::quiet_NaN());
        }
    }
    return points;
}

} // namespace lexorant
