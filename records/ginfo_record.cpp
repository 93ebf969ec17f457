#include "ginfo_record.h"

#include "byte_order.h"

namespace lexorant {

GInfoRecord GInfoRecord::FromSlot(const std::uint8_t* slot) {
    using namespace byte_order;
    GInfoRecord r;
    r.EntryType = slot[0];
    r.TimeStamp = {slot[1], slot[2], slot[3], slot[4], slot[5], slot[6]};
    r.MessageCode = ReadInt16(slot + 8);
    r.ActStatus = ReadInt16(slot + 10);
    r.ExtStatus = ReadInt16(slot + 12);
    return r;
}

} // namespace lexorant
