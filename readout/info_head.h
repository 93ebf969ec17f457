#pragma once
// The time stamp and message code that G-Info and X-Info entries keep at the same place.
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

// What the message overview and the report take from an entry of either block.
struct InfoHead {
    InfoTimeStamp TimeStamp;
    std::int16_t MessageCode = 0; // signed so that FFFF matches catalogue code -1

    friend bool operator==(const InfoHead&, const InfoHead&) = default;
};

} // namespace lexorant
