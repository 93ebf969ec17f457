#include "records/entry_columns.h"

#include "readout/entry_time.h"
#include "records/cell_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <string>

namespace lexorant {

namespace {

using T = ColumnType;

// Two rows of the grid share "Compressor" and two "Setpoint"; the status word's field takes the longer
// name. "2nd Setpoint" is spelt out: a name may not begin with a digit.
constexpr EntryColumn kHeadColumns[] = {
    {"type", "EntryType", T::Integer},
    {"act_status", "ActStatus", T::Integer},
    {"pump", "PumpOn", T::Text},
    {"compressor_state", "CompressorState", T::Text},
    {"heater", "HeaterOn", T::Text},
    {"setpoint_source", "SetpointSource", T::Text},
    {"second_setpoint", "SecondSetpointActive", T::Text},
    {"mains_frequency", "Mains60Hz", T::Text},
    {"mains_voltage", "Mains400V", T::Text},
    {"ext_status", "ExtStatus", T::Integer},
    {"compressor", "CompressorOn", T::Text},
    {"fan", "FanOn", T::Text},
    {"ntr", "NtrOn", T::Text},
};

constexpr EntryColumn kXInfoOnlyColumns[] = {
    {"dig_input", "DigInputs", T::Integer},
    {"dsein1", "DSEin1", T::Text},
    {"dsein2", "DSEin2", T::Text},
    {"dein1", "DEin1", T::Text},
    {"dein2", "DEin2", T::Text},
    {"dein3", "DEin3", T::Text},
    {"min_setpoint", "MinSetpoint", T::Double},
    {"max_setpoint", "MaxSetpoint", T::Double},
    {"setpoint", "Setpoint", T::Double},
    {"ti", "TI", T::Double},
    {"te", "TE", T::Double},
    {"tr", "TR", T::Double},
    {"tve", "TVE", T::Double},
    {"t0", "T0", T::Double},
    {"tc", "TC", T::Double},
    {"expansion_valve", "ExpansionValve", T::Integer},
    {"current", "Current", T::Integer},
    {"ot_sp_heater", "OtSpHeater", T::Double},
    {"ot_sp_exp_vessel", "OtSpExpVessel", T::Double},
    {"ot_heater_1", "OtHeater1", T::Double},
    {"ot_heater_2", "OtHeater2", T::Double},
    {"ot_exp_vessel", "OtExpVessel", T::Double},
    {"delta_t", "DeltaT", T::Double},
    {"heatlimit", "HeatLimit", T::Integer},
    {"coolinglimit", "CoolingLimit", T::Integer},
    {"kp_int", "KpInt", T::Double},
    {"tn_int", "TnInt", T::Double},
    {"tv_int", "TvInt", T::Double},
    {"kp_ext", "KpExt", T::Double},
    {"tn_ext", "TnExt", T::Double},
    {"tv_ext", "TvExt", T::Double},
    {"tc_ht", "TcHt", T::Double},
    {"t0_ht", "T0Ht", T::Double},
    {"tve_ht", "TveHt", T::Double},
    {"expvalve_ht", "ExpValveHt", T::Integer},
    {"pump_hrs", "PumpHours", T::Double},
    {"compressor_hrs", "CompressorHours", T::Double},
};

constexpr auto kXInfoColumns = [] {
    std::array<EntryColumn, std::size(kHeadColumns) + std::size(kXInfoOnlyColumns)> all{};
    std::size_t n = 0;
    for (const EntryColumn& c : kHeadColumns)
        all[n++] = c;
    for (const EntryColumn& c : kXInfoOnlyColumns)
        all[n++] = c;
    return all;
}();

// A whole number keeps a ".0", so that every value of the column reads as a float, also to an engine
// that guesses a column's type from the first values it sees.
void AppendShortest(std::string& out, double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
    if (std::string_view(buffer, static_cast<std::size_t>(end - buffer)).find_first_of(".e") ==
        std::string_view::npos)
        out += ".0";
}

void AppendTwoDigits(std::string& out, unsigned value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

} // namespace

std::span<const EntryColumn> FieldColumns(InfoBlock block) {
    if (block == InfoBlock::GInfo)
        return kHeadColumns;
    return kXInfoColumns;
}

std::vector<const FieldDef*> ColumnFields(const EntryLayout& layout, std::span<const EntryColumn> columns) {
    std::vector<const FieldDef*> fields(columns.size(), nullptr);
    for (std::size_t c = 0; c < columns.size(); ++c)
        for (int row = 1; row < layout.RowCount(); ++row)
            if (const FieldDef* f = layout.FieldAt(row); f && f->name == columns[c].field)
                fields[c] = f;
    return fields;
}

void AppendFieldValue(std::string& out, const FieldDef* field, const std::uint8_t* slot) {
    if (field == nullptr || !FieldCarried(*field, slot))
        return;
    switch (field->rule) {
    case TextRule::Integer:
        AppendIntegerText(out, FieldRaw(*field, slot));
        return;
    case TextRule::Float:
    case TextRule::Hundredths:
    case TextRule::HalfHours: {
        const double value = FieldNumber(*field, slot);
        if (std::isfinite(value))
            AppendShortest(out, value == 0 ? 0.0 : value); // "-0" is no value a reader expects
        return;
    }
    case TextRule::Bits:
        out += field->texts[static_cast<std::size_t>(FieldRaw(*field, slot))];
        return;
    case TextRule::Date:
    case TextRule::Time:
    case TextRule::None:
        return;
    }
}

void AppendIsoTime(std::string& out, const InfoTimeStamp& t) {
    if (!EntryTimeMs(t))
        return;
    out += std::to_string(2000 + t.Year); // the controller's two-digit year is of this century
    out += '-';
    AppendTwoDigits(out, t.Month);
    out += '-';
    AppendTwoDigits(out, t.Day);
    out += ' ';
    AppendTwoDigits(out, t.Hour);
    out += ':';
    AppendTwoDigits(out, t.Minute);
    out += ':';
    AppendTwoDigits(out, t.Second);
}

} // namespace lexorant
