#pragma once
#include "readout/info_head.h"

#include <array>
#include <cstdint>

namespace lexorant {

// The tail (bytes 80-95) in the three layouts the X-Info type can choose.
struct XInfoTail1 {
    std::int16_t TcHt = 0;  // hundredths
    std::int16_t T0Ht = 0;  // hundredths
    std::int16_t TveHt = 0; // hundredths
    std::int8_t ExpValveHt = 0;
};

struct XInfoTail2 {
    std::uint32_t PumpHours = 0; // half hours
    std::uint32_t CompressorHours = 0;
};

struct XInfoTail3 {
    std::int16_t TcHt = 0;
    std::int16_t T0Ht = 0;
    std::int16_t TveHt = 0;
    std::int8_t ExpValveHt = 0;
    std::uint32_t PumpHours = 0;
    std::uint32_t CompressorHours = 0;
};

// One X-Info entry: the shared head (status words at 12 and 14, not 10 and 12), operating values and
// a tail whose layout the block's X-Info type decides, so it is kept raw here.
struct XInfoRecord : InfoHead {
    std::uint8_t DigInputs = 0; // byte 7; shown signed in row 17
    std::int16_t MinSetpoint = 0;
    std::int16_t MaxSetpoint = 0;
    std::int16_t Setpoint = 0;
    std::int16_t TI = 0;
    std::int16_t TE = 0;
    std::int16_t TR = 0;
    std::int16_t TVE = 0;
    std::int16_t T0 = 0;
    std::int16_t TC = 0;
    std::int16_t ExpansionValve = 0;
    std::int16_t Current = 0;
    std::int16_t OtSpHeater = 0;
    std::int16_t OtSpExpVessel = 0;
    std::int16_t OtHeater1 = 0;
    std::int16_t OtHeater2 = 0;
    std::int16_t OtExpVessel = 0;
    std::int16_t DeltaT = 0;
    std::int16_t HeatLimit = 0;    // unscaled
    std::int16_t CoolingLimit = 0; // unscaled
    float KpInt = 0;
    float TnInt = 0;
    float TvInt = 0;
    float KpExt = 0;
    float TnExt = 0;
    float TvExt = 0;
    std::array<std::uint8_t, 16> TailBytes{};

    XInfoTail1 Tail1() const;
    XInfoTail2 Tail2() const;
    XInfoTail3 Tail3() const;

    // `slot` points at the 96 bytes of one slot, in the order their hex pairs arrived.
    static XInfoRecord FromSlot(const std::uint8_t* slot);
};

} // namespace lexorant
