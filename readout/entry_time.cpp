#include "readout/entry_time.h"

#include <chrono>

namespace lexorant {

std::optional<std::int64_t> EntryTimeMs(const InfoTimeStamp& t) {
    using namespace std::chrono;
    // The controller keeps a two-digit year of this century.
    const year_month_day date{year{2000 + t.Year}, month{t.Month}, day{t.Day}};
    if (!date.ok() || t.Hour > 23 || t.Minute > 59 || t.Second > 59)
        return std::nullopt;
    const auto stamp = sys_days{date} + hours{t.Hour} + minutes{t.Minute} + seconds{t.Second};
    return duration_cast<milliseconds>(stamp.time_since_epoch()).count();
}

std::optional<DatedStamp> Dated(const InfoTimeStamp& stamp) {
    if (const auto ms = EntryTimeMs(stamp))
        return DatedStamp{*ms, stamp};
    return std::nullopt;
}

void WidenSpan(std::optional<DatedStamp>& first, std::optional<DatedStamp>& last,
               const std::optional<DatedStamp>& from, const std::optional<DatedStamp>& to) {
    if (from && (!first || from->ms < first->ms))
        first = from;
    if (to && (!last || to->ms > last->ms))
        last = to;
}

} // namespace lexorant
