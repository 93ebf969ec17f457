#include "xinfo_record.h"

#include "byte_order.h"

#include <algorithm>

namespace lexorant {

using namespace byte_order;

XInfoTail1 XInfoRecord::Tail1() const {
    const std::uint8_t* t = TailBytes.data();
    return {ReadInt16(t), ReadInt16(t + 2), ReadInt16(t + 4), ReadInt8(t + 6)};
}

XInfoTail2 XInfoRecord::Tail2() const {
    const std::uint8_t* t = TailBytes.data();
    return {ReadUInt32(t), ReadUInt32(t + 4)};
}

XInfoTail3 XInfoRecord::Tail3() const {
    const std::uint8_t* t = TailBytes.data();
    return {ReadInt16(t),    ReadInt16(t + 2),  ReadInt16(t + 4),
            ReadInt8(t + 6), ReadUInt32(t + 8), ReadUInt32(t + 12)};
}

XInfoRecord XInfoRecord::FromSlot(const std::uint8_t* slot) {
    XInfoRecord r;
    r.EntryType = slot[0];
    r.TimeStamp = {slot[1], slot[2], slot[3], slot[4], slot[5], slot[6]};
    r.DigInputs = slot[7];
    r.MessageCode = ReadInt16(slot + 8);
    r.ActStatus = ReadInt16(slot + 12);
    r.ExtStatus = ReadInt16(slot + 14);
    r.MinSetpoint = ReadInt16(slot + 16);
    r.MaxSetpoint = ReadInt16(slot + 18);
    r.Setpoint = ReadInt16(slot + 20);
    r.TI = ReadInt16(slot + 22);
    r.TE = ReadInt16(slot + 24);
    r.TR = ReadInt16(slot + 26);
    r.TVE = ReadInt16(slot + 28);
    r.T0 = ReadInt16(slot + 30);
    r.TC = ReadInt16(slot + 32);
    r.ExpansionValve = ReadInt16(slot + 34);
    r.Current = ReadInt16(slot + 38);
    r.OtSpHeater = ReadInt16(slot + 40);
    r.OtSpExpVessel = ReadInt16(slot + 42);
    r.OtHeater1 = ReadInt16(slot + 44);
    r.OtHeater2 = ReadInt16(slot + 46);
    r.OtExpVessel = ReadInt16(slot + 48);
    r.DeltaT = ReadInt16(slot + 50);
    r.HeatLimit = ReadInt16(slot + 52);
    r.CoolingLimit = ReadInt16(slot + 54);
    r.KpInt = ReadFloat(slot + 56);
    r.TnInt = ReadFloat(slot + 60);
    r.TvInt = ReadFloat(slot + 64);
    r.KpExt = ReadFloat(slot + 68);
    r.TnExt = ReadFloat(slot + 72);
    r.TvExt = ReadFloat(slot + 76);
    std::copy_n(slot + 80, r.TailBytes.size(), r.TailBytes.begin());
    return r;
}

} // namespace lexorant
