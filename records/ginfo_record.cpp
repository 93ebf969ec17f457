#include "records/ginfo_record.h"

#include "records/byte_order.h"
#include "records/entry_fields.h"

namespace lexorant {

namespace {

consteval int At(std::string_view name) {
    return FieldNamed(kGInfoFields, name).offset;
}

} // namespace

GInfoRecord GInfoRecord::FromSlot(const std::uint8_t* slot) {
    using namespace byte_order;
    static_assert(At("Date") == 1 && At("Time") == 4, "the time stamp is bytes 1 to 6 of every entry");
    GInfoRecord r;
    r.EntryType = slot[At("EntryType")];
    r.TimeStamp = {slot[1], slot[2], slot[3], slot[4], slot[5], slot[6]};
    r.MessageCode = ReadInt16(slot + At("MessageCode"));
    r.ActStatus = ReadInt16(slot + At("ActStatus"));
    r.ExtStatus = ReadInt16(slot + At("ExtStatus"));
    return r;
}

} // namespace lexorant
