#pragma once
// Both block headers and the two contiguous, zero-filled arrays of entry slots.
#include "readout/info_header.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lexorant {

inline constexpr std::size_t kGInfoSlotSize = 16;
inline constexpr std::size_t kXInfoSlotSize = 96;

struct RecordStore {
    InfoHeader GInfo;
    InfoHeader XInfo;
    std::vector<std::uint8_t> GInfoSlots; // GInfo.EntryCount slots of 16 bytes
    std::vector<std::uint8_t> XInfoSlots; // XInfo.EntryCount slots of 96 bytes

    // Sets both headers and replaces both arrays whole, every byte zero.
    void Replace(const InfoHeader& g, const InfoHeader& x);

    std::uint8_t* GInfoSlot(std::size_t index) { return GInfoSlots.data() + index * kGInfoSlotSize; }
    std::uint8_t* XInfoSlot(std::size_t index) { return XInfoSlots.data() + index * kXInfoSlotSize; }
    const std::uint8_t* GInfoSlot(std::size_t index) const { return GInfoSlots.data() + index * kGInfoSlotSize; }
    const std::uint8_t* XInfoSlot(std::size_t index) const { return XInfoSlots.data() + index * kXInfoSlotSize; }

    friend bool operator==(const RecordStore&, const RecordStore&) = default;
};

} // namespace lexorant
