#include "readout/record_store.h"

namespace lexorant {

void RecordStore::Replace(const InfoHeader& g, const InfoHeader& x) {
    GInfo = g;
    XInfo = x;
    // Fresh vectors rather than resize: the old arrays are released, not kept at their capacity.
    GInfoSlots = std::vector<std::uint8_t>(std::size_t{g.EntryCount} * kGInfoSlotSize, 0);
    XInfoSlots = std::vector<std::uint8_t>(std::size_t{x.EntryCount} * kXInfoSlotSize, 0);
}

} // namespace lexorant
