#include "tools/sim/unit.h"

#include <algorithm>

namespace lexorant::sim {

std::optional<std::vector<std::uint8_t>> EntryBytes(const SimUnit& unit, char letter, std::size_t index) {
    const bool g = letter == 'G';
    const InfoHeader& header = g ? unit.store.GInfo : unit.store.XInfo;
    if (index >= header.EntryCount)
        return std::nullopt;
    const std::size_t slotSize = g ? kGInfoSlotSize : kXInfoSlotSize;
    const std::uint8_t* slot = g ? unit.store.GInfoSlot(index) : unit.store.XInfoSlot(index);
    const std::size_t count = header.AnswerLength < 4 ? 0 : (header.AnswerLength - 4u) / 2u;
    std::vector<std::uint8_t> bytes(count, kFillerByte);
    std::copy_n(slot, std::min(count, slotSize), bytes.begin());
    return bytes;
}

} // namespace lexorant::sim
