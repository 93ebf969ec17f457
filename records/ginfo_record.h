#pragma once
#include "readout/info_head.h"

#include <cstdint>

namespace lexorant {

// One G-Info entry. Slot bytes 7 and 14-15 are not interpreted.
struct GInfoRecord : InfoHead {
    // `slot` points at the 16 bytes of one slot, in the order their hex pairs arrived.
    static GInfoRecord FromSlot(const std::uint8_t* slot);
};

} // namespace lexorant
