#pragma once
#include "readout/info_head.h"

#include <cstdint>
#include <optional>

namespace lexorant {

// The time stamp as milliseconds since 1970-01-01 00:00 of the controller's own clock (no time zone,
// so no daylight-saving gaps), or none when it is not a calendar date and time of day.
std::optional<std::int64_t> EntryTimeMs(const InfoTimeStamp& stamp);

// A time stamp that is a calendar date and time of day, with its ordering key.
struct DatedStamp {
    std::int64_t ms = 0; // EntryTimeMs of the stamp
    InfoTimeStamp stamp;

    friend bool operator==(const DatedStamp&, const DatedStamp&) = default;
};

// None when the stamp is no calendar date and time of day.
std::optional<DatedStamp> Dated(const InfoTimeStamp& stamp);

// Widens the span from `first` to `last` to take in the one from `from` to `to`; an end that is
// none takes nothing in.
void WidenSpan(std::optional<DatedStamp>& first, std::optional<DatedStamp>& last,
               const std::optional<DatedStamp>& from, const std::optional<DatedStamp>& to);

} // namespace lexorant
