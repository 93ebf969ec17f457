#pragma once
// The one description of every entry field: the G-Info entry, the X-Info head and operating values,
// and each X-Info tail. Decoding, grid texts, lexorant-cli show and the export all read these tables.
#include "records/field_table.h"

#include <array>
#include <string_view>

namespace lexorant {

namespace field_texts {
inline constexpr std::array<std::string_view, 2> kOnOff = {"off", "on"};
inline constexpr std::array<std::string_view, 4> kCompressorState = {"off", "starting", "on", "stopping"};
inline constexpr std::array<std::string_view, 8> kSetpointSource = {"manual",     "ramp",    "program", "AIF",
                                                                    "ext. Pt100", "unknown", "unknown", "unknown"};
inline constexpr std::array<std::string_view, 2> kActive = {"inactive", "active"};
inline constexpr std::array<std::string_view, 2> kMainsFrequency = {"50 Hz", "60 Hz"};
inline constexpr std::array<std::string_view, 2> kMainsVoltage = {"230 V", "400 V"};
inline constexpr std::array<std::string_view, 2> kContact = {"closed", "open"};
} // namespace field_texts

// What a cell shows for a field that the entry's type cannot carry.
inline constexpr std::string_view kNotCarriedText = "???";

// Rows 1 to 16, which both kinds of entry share; only the status words lie elsewhere.
constexpr std::array<FieldDef, 16> EntryHeadFields(int actStatusOffset, int extStatusOffset) {
    using namespace field_texts;
    using K = FieldKind;
    using R = TextRule;
    const int act = actStatusOffset;
    const int ext = extStatusOffset;
    return {{
        {.name = "EntryType", .offset = 0, .size = 1, .kind = K::Unsigned, .row = 1, .heading = "Type", .rule = R::Integer},
        {.name = "Date", .offset = 1, .size = 3, .kind = K::Bytes, .row = 2, .heading = "Date", .rule = R::Date},
        {.name = "Time", .offset = 4, .size = 3, .kind = K::Bytes, .row = 3, .heading = "Time", .rule = R::Time},
        {.name = "MessageCode", .offset = 8, .size = 2, .kind = K::Signed, .row = 4, .heading = "Message", .rule = R::Integer},
        {.name = "ActStatus", .offset = act, .size = 2, .kind = K::Signed, .row = 5, .heading = "Act. Status", .rule = R::Integer},
        {.name = "PumpOn", .offset = act, .size = 2, .kind = K::Unsigned, .row = 6, .heading = "Pump", .rule = R::Bits,
         .mask = 0x0001, .texts = kOnOff},
        {.name = "CompressorState", .offset = act, .size = 2, .kind = K::Unsigned, .row = 7, .heading = "Compressor",
         .rule = R::Bits, .mask = 0x0006, .texts = kCompressorState},
        {.name = "HeaterOn", .offset = act, .size = 2, .kind = K::Unsigned, .row = 8, .heading = "Heater", .rule = R::Bits,
         .mask = 0x0008, .texts = kOnOff},
        {.name = "SetpointSource", .offset = act, .size = 2, .kind = K::Unsigned, .row = 9, .heading = "Setpoint",
         .rule = R::Bits, .mask = 0x0070, .texts = kSetpointSource},
        {.name = "SecondSetpointActive", .offset = act, .size = 2, .kind = K::Unsigned, .row = 10,
         .heading = "2nd Setpoint", .rule = R::Bits, .mask = 0x0080, .texts = kActive},
        {.name = "Mains60Hz", .offset = act, .size = 2, .kind = K::Unsigned, .row = 11, .heading = "Mains Frequency",
         .rule = R::Bits, .quantity = Quantity::Frequency, .mask = 0x0100, .texts = kMainsFrequency,
         .carriedFromEntryType = 1},
        {.name = "Mains400V", .offset = act, .size = 2, .kind = K::Unsigned, .row = 12, .heading = "Mains Voltage",
         .rule = R::Bits, .quantity = Quantity::Voltage, .mask = 0x0200, .texts = kMainsVoltage,
         .carriedFromEntryType = 1},
        {.name = "ExtStatus", .offset = ext, .size = 2, .kind = K::Signed, .row = 13, .heading = "Ext.Status", .rule = R::Integer},
        {.name = "CompressorOn", .offset = ext, .size = 2, .kind = K::Unsigned, .row = 14, .heading = "Compressor",
         .rule = R::Bits, .mask = 0x0001, .texts = kOnOff},
        {.name = "FanOn", .offset = ext, .size = 2, .kind = K::Unsigned, .row = 15, .heading = "Fan", .rule = R::Bits,
         .mask = 0x0004, .texts = kOnOff},
        {.name = "NtrOn", .offset = ext, .size = 2, .kind = K::Unsigned, .row = 16, .heading = "NTR", .rule = R::Bits,
         .mask = 0x0008, .texts = kOnOff},
    }};
}

constexpr FieldDef NotInterpreted(int offset, int size) {
    return {.offset = offset, .size = size};
}

inline constexpr auto kGInfoFields =
    JoinFields(EntryHeadFields(10, 12), std::array{NotInterpreted(7, 1), NotInterpreted(14, 2)});

namespace detail {
using K = FieldKind;
using R = TextRule;
using Q = Quantity;

constexpr FieldDef Hundredths(std::string_view name, int offset, int row, std::string_view heading,
                              Q quantity = Q::Temperature, int carriedFrom = 0) {
    return {.name = name, .offset = offset, .size = 2, .kind = K::Signed, .row = row, .heading = heading,
            .rule = R::Hundredths, .quantity = quantity, .carriedFromEntryType = carriedFrom};
}
constexpr FieldDef Int16(std::string_view name, int offset, int row, std::string_view heading, Q quantity = Q::None) {
    return {.name = name, .offset = offset, .size = 2, .kind = K::Signed, .row = row, .heading = heading,
            .rule = R::Integer, .quantity = quantity};
}
constexpr FieldDef Float(std::string_view name, int offset, int row, std::string_view heading) {
    return {.name = name, .offset = offset, .size = 4, .kind = K::Float, .row = row, .heading = heading, .rule = R::Float};
}
constexpr FieldDef HalfHours(std::string_view name, int offset, int row, std::string_view heading) {
    return {.name = name, .offset = offset, .size = 4, .kind = K::Unsigned, .row = row, .heading = heading,
            .rule = R::HalfHours, .quantity = Q::Duration};
}
constexpr FieldDef Contact(std::string_view name, unsigned mask, int row) {
    return {.name = name, .offset = 7, .size = 1, .kind = K::Unsigned, .row = row, .heading = name, .rule = R::Bits,
            .mask = mask, .texts = field_texts::kContact};
}
constexpr FieldDef ExpValveHt(int carriedFrom) {
    return {.name = "ExpValveHt", .offset = 86, .size = 1, .kind = K::Signed, .row = 51, .heading = "ExpValve HT",
            .rule = R::Integer, .carriedFromEntryType = carriedFrom};
}
} // namespace detail

// Offsets 0 to 79 of an X-Info entry.
inline constexpr auto kXInfoFields = JoinFields(
    EntryHeadFields(12, 14),
    std::array{
        FieldDef{.name = "DigInputs", .offset = 7, .size = 1, .kind = FieldKind::Signed, .row = 17,
                 .heading = "Dig. Input", .rule = TextRule::Integer},
        // DEin1 is bit 4, ahead of DEin2 and DEin3 on bits 2 and 3.
        detail::Contact("DSEin1", 0x01, 18), detail::Contact("DSEin2", 0x02, 19), detail::Contact("DEin1", 0x10, 20),
        detail::Contact("DEin2", 0x04, 21), detail::Contact("DEin3", 0x08, 22), NotInterpreted(10, 2),
        detail::Hundredths("MinSetpoint", 16, 23, "Min. Setpoint"), detail::Hundredths("MaxSetpoint", 18, 24, "Max. Setpoint"),
        detail::Hundredths("Setpoint", 20, 25, "Setpoint"), detail::Hundredths("TI", 22, 26, "TI"),
        detail::Hundredths("TE", 24, 27, "TE"), detail::Hundredths("TR", 26, 28, "TR"),
        detail::Hundredths("TVE", 28, 29, "TVE"), detail::Hundredths("T0", 30, 30, "T0"),
        detail::Hundredths("TC", 32, 31, "TC"), detail::Int16("ExpansionValve", 34, 32, "Expansion Valve"),
        NotInterpreted(36, 2), detail::Int16("Current", 38, 33, "Current"),
        detail::Hundredths("OtSpHeater", 40, 34, "OT SP Heater"),
        detail::Hundredths("OtSpExpVessel", 42, 35, "OT SP Exp. Vessel"),
        detail::Hundredths("OtHeater1", 44, 36, "OT Heater 1"), detail::Hundredths("OtHeater2", 46, 37, "OT Heater 2"),
        detail::Hundredths("OtExpVessel", 48, 38, "OT Exp. Vessel"),
        detail::Hundredths("DeltaT", 50, 39, "Delta T.", Quantity::TemperatureDifference),
        detail::Int16("HeatLimit", 52, 40, "Heatlimit", Quantity::Share),
        detail::Int16("CoolingLimit", 54, 41, "Coolinglimit", Quantity::Share), detail::Float("KpInt", 56, 42, "KP Int."),
        detail::Float("TnInt", 60, 43, "TN Int."), detail::Float("TvInt", 64, 44, "TV Int."),
        detail::Float("KpExt", 68, 45, "KP Ext."), detail::Float("TnExt", 72, 46, "TN Ext."),
        detail::Float("TvExt", 76, 47, "TV Ext.")});

// Offsets 80 to 95, by X-Info type. Only type 1 leaves values out for entries of a type below 4.
inline constexpr auto kXInfoTail1Fields = std::array{
    detail::Hundredths("TcHt", 80, 48, "TC HT"), detail::Hundredths("T0Ht", 82, 49, "T0 HT", Quantity::Temperature, 4),
    detail::Hundredths("TveHt", 84, 50, "TVE HT", Quantity::Temperature, 4), detail::ExpValveHt(4),
    NotInterpreted(87, 9)};
inline constexpr auto kXInfoTail2Fields = std::array{detail::HalfHours("PumpHours", 80, 48, "Pump hrs"),
                                                     detail::HalfHours("CompressorHours", 84, 49, "Compressor hrs"),
                                                     NotInterpreted(88, 8)};
inline constexpr auto kXInfoTail3Fields = std::array{
    detail::Hundredths("TcHt", 80, 48, "TC HT"),      detail::Hundredths("T0Ht", 82, 49, "T0 HT"),
    detail::Hundredths("TveHt", 84, 50, "TVE HT"),    detail::ExpValveHt(0),
    NotInterpreted(87, 1),                            detail::HalfHours("PumpHours", 88, 52, "Pump hrs"),
    detail::HalfHours("CompressorHours", 92, 53, "Compressor hrs")};
inline constexpr auto kXInfoNoTailFields = std::array{NotInterpreted(80, 16)};

} // namespace lexorant
