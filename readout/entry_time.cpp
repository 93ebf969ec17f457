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

} // namespace lexorant
