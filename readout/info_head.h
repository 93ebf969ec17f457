#pragma once
// The part that G-Info and X-Info entries share; rows 0 to 16 of both grids show it.
#include <cstdint>

namespace lexorant {

// Bytes 1 to 6 of either kind of entry, each as stored (no calendar check).
struct InfoTimeStamp {
    std::uint8_t Year = 0; // within the century
    std::uint8_t Month = 0;
    std::uint8_t Day = 0;
    std::uint8_t Hour = 0;
    std::uint8_t Minute = 0;
    std::uint8_t Second = 0;

    friend bool operator==(const InfoTimeStamp&, const InfoTimeStamp&) = default;
};

struct InfoHead {
    std::uint8_t EntryType = 0; // 0: the mains bits of ActStatus carry nothing
    InfoTimeStamp TimeStamp;
    std::int16_t MessageCode = 0; // signed so that FFFF matches catalogue code -1
    std::int16_t ActStatus = 0;
    std::int16_t ExtStatus = 0;

    friend bool operator==(const InfoHead&, const InfoHead&) = default;
};

} // namespace lexorant
