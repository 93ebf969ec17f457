#pragma once
#include "readout/info_head.h"

#include <cstdint>
#include <optional>

namespace lexorant {

// The time stamp as milliseconds since 1970-01-01 00:00 of the controller's own clock (no time zone,
// so no daylight-saving gaps), or none when it is not a calendar date and time of day.
std::optional<std::int64_t> EntryTimeMs(const InfoTimeStamp& stamp);

} // namespace lexorant
