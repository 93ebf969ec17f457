#include "temperature_fields.h"

namespace lexorant {

namespace {

double Degrees(std::int16_t hundredths) { return hundredths / 100.0; }

// Type 1 cannot carry these tail values for entries of a type below this.
constexpr int kFirstEntryTypeWithHtValues = 4;

#define LEXORANT_FIXED(field, first)                                                                  \
    TemperatureField { #field, [](const XInfoRecord& r) -> std::optional<double> { return Degrees(r.field); }, \
                       first }

std::vector<TemperatureField> FixedFields() {
    return {LEXORANT_FIXED(MinSetpoint, false), LEXORANT_FIXED(MaxSetpoint, false),
            LEXORANT_FIXED(Setpoint, true),     LEXORANT_FIXED(TI, true),
            LEXORANT_FIXED(TE, false),          LEXORANT_FIXED(TR, true),
            LEXORANT_FIXED(TVE, false),         LEXORANT_FIXED(T0, false),
            LEXORANT_FIXED(TC, false),          LEXORANT_FIXED(OtSpHeater, false),
            LEXORANT_FIXED(OtSpExpVessel, false), LEXORANT_FIXED(OtHeater1, false),
            LEXORANT_FIXED(OtHeater2, false),   LEXORANT_FIXED(OtExpVessel, false)};
}

#undef LEXORANT_FIXED

// Type 1 tail values; `onlyFromHtEntries`: "???" for entries of a type below 4.
template <auto Member, bool onlyFromHtEntries> std::optional<double> Tail1Value(const XInfoRecord& r) {
    if (onlyFromHtEntries && r.EntryType < kFirstEntryTypeWithHtValues)
        return std::nullopt;
    return Degrees(r.Tail1().*Member);
}

template <auto Member> std::optional<double> Tail3Value(const XInfoRecord& r) { return Degrees(r.Tail3().*Member); }

std::vector<TemperatureField> Type1Fields() {
    auto fields = FixedFields();
    fields.push_back({"TcHt", Tail1Value<&XInfoTail1::TcHt, false>, false});
    fields.push_back({"T0Ht", Tail1Value<&XInfoTail1::T0Ht, true>, false});
    fields.push_back({"TveHt", Tail1Value<&XInfoTail1::TveHt, true>, false});
    return fields;
}

std::vector<TemperatureField> Type3Fields() {
    auto fields = FixedFields();
    fields.push_back({"TcHt", Tail3Value<&XInfoTail3::TcHt>, false});
    fields.push_back({"T0Ht", Tail3Value<&XInfoTail3::T0Ht>, false});
    fields.push_back({"TveHt", Tail3Value<&XInfoTail3::TveHt>, false});
    return fields;
}

} // namespace

const std::vector<TemperatureField>& TemperatureFields(int xInfoType) {
    static const std::vector<TemperatureField> fixed = FixedFields();
    static const std::vector<TemperatureField> type1 = Type1Fields();
    static const std::vector<TemperatureField> type3 = Type3Fields();
    switch (xInfoType) {
    case 1:
        return type1;
    case 3:
        return type3;
    default:
        return fixed;
    }
}

const TemperatureField* FindTemperatureField(int xInfoType, std::string_view name) {
    for (const TemperatureField& field : TemperatureFields(xInfoType))
        if (field.name == name)
            return &field;
    return nullptr;
}

} // namespace lexorant
