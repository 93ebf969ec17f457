#include "records/xinfo_record.h"

#include "records/byte_order.h"
#include "records/entry_fields.h"

#include <algorithm>

namespace lexorant {

using namespace byte_order;

namespace {

consteval int At(std::string_view name) {
    return FieldNamed(kXInfoFields, name).offset;
}

// Offsets within the tail bytes.
consteval int TailAt1(std::string_view name) {
    return FieldNamed(kXInfoTail1Fields, name).offset - kXInfoTailOffset;
}
consteval int TailAt2(std::string_view name) {
    return FieldNamed(kXInfoTail2Fields, name).offset - kXInfoTailOffset;
}
consteval int TailAt3(std::string_view name) {
    return FieldNamed(kXInfoTail3Fields, name).offset - kXInfoTailOffset;
}

} // namespace

XInfoTail1 XInfoRecord::Tail1() const {
    const std::uint8_t* t = TailBytes.data();
    return {ReadInt16(t + TailAt1("TcHt")), ReadInt16(t + TailAt1("T0Ht")), ReadInt16(t + TailAt1("TveHt")),
            ReadInt8(t + TailAt1("ExpValveHt"))};
}

XInfoTail2 XInfoRecord::Tail2() const {
    const std::uint8_t* t = TailBytes.data();
    return {ReadUInt32(t + TailAt2("PumpHours")), ReadUInt32(t + TailAt2("CompressorHours"))};
}

XInfoTail3 XInfoRecord::Tail3() const {
    const std::uint8_t* t = TailBytes.data();
    return {ReadInt16(t + TailAt3("TcHt")),       ReadInt16(t + TailAt3("T0Ht")),
            ReadInt16(t + TailAt3("TveHt")),      ReadInt8(t + TailAt3("ExpValveHt")),
            ReadUInt32(t + TailAt3("PumpHours")), ReadUInt32(t + TailAt3("CompressorHours"))};
}

XInfoRecord XInfoRecord::FromSlot(const std::uint8_t* slot) {
    XInfoRecord r;
    r.EntryType = slot[At("EntryType")];
    r.TimeStamp = {slot[1], slot[2], slot[3], slot[4], slot[5], slot[6]};
    r.DigInputs = slot[At("DigInputs")];
    r.MessageCode = ReadInt16(slot + At("MessageCode"));
    r.ActStatus = ReadInt16(slot + At("ActStatus"));
    r.ExtStatus = ReadInt16(slot + At("ExtStatus"));
    r.MinSetpoint = ReadInt16(slot + At("MinSetpoint"));
    r.MaxSetpoint = ReadInt16(slot + At("MaxSetpoint"));
    r.Setpoint = ReadInt16(slot + At("Setpoint"));
    r.TI = ReadInt16(slot + At("TI"));
    r.TE = ReadInt16(slot + At("TE"));
    r.TR = ReadInt16(slot + At("TR"));
    r.TVE = ReadInt16(slot + At("TVE"));
    r.T0 = ReadInt16(slot + At("T0"));
    r.TC = ReadInt16(slot + At("TC"));
    r.ExpansionValve = ReadInt16(slot + At("ExpansionValve"));
    r.Current = ReadInt16(slot + At("Current"));
    r.OtSpHeater = ReadInt16(slot + At("OtSpHeater"));
    r.OtSpExpVessel = ReadInt16(slot + At("OtSpExpVessel"));
    r.OtHeater1 = ReadInt16(slot + At("OtHeater1"));
    r.OtHeater2 = ReadInt16(slot + At("OtHeater2"));
    r.OtExpVessel = ReadInt16(slot + At("OtExpVessel"));
    r.DeltaT = ReadInt16(slot + At("DeltaT"));
    r.HeatLimit = ReadInt16(slot + At("HeatLimit"));
    r.CoolingLimit = ReadInt16(slot + At("CoolingLimit"));
    r.KpInt = ReadFloat(slot + At("KpInt"));
    r.TnInt = ReadFloat(slot + At("TnInt"));
    r.TvInt = ReadFloat(slot + At("TvInt"));
    r.KpExt = ReadFloat(slot + At("KpExt"));
    r.TnExt = ReadFloat(slot + At("TnExt"));
    r.TvExt = ReadFloat(slot + At("TvExt"));
    std::copy_n(slot + kXInfoTailOffset, r.TailBytes.size(), r.TailBytes.begin());
    return r;
}

} // namespace lexorant
