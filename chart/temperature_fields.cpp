#include "chart/temperature_fields.h"

#include "records/entry_layout.h"

#include <algorithm>
#include <array>

namespace lexorant {

namespace {

constexpr std::array<std::string_view, 3> kShownAtFirst = {"Setpoint", "TI", "TR"};

std::vector<TemperatureField> FieldsOf(const EntryLayout& layout) {
    std::vector<TemperatureField> fields;
    for (int row = 1; row < layout.RowCount(); ++row) {
        const FieldDef* f = layout.FieldAt(row);
        if (f == nullptr || f->quantity != Quantity::Temperature)
            continue;
        const bool first = std::find(kShownAtFirst.begin(), kShownAtFirst.end(), f->name) != kShownAtFirst.end();
        fields.push_back({f->name, f, first});
    }
    return fields;
}

} // namespace

std::optional<double> TemperatureField::Value(const std::uint8_t* slot) const {
    if (!FieldCarried(*field, slot))
        return std::nullopt;
    return FieldNumber(*field, slot);
}

const std::vector<TemperatureField>& TemperatureFields(int xInfoType) {
    // Types 1 to 3 have tails of their own; every other type lays its entries out as type 0.
    static const std::array<std::vector<TemperatureField>, 4> byType = {
        FieldsOf(XInfoLayout(0)), FieldsOf(XInfoLayout(1)), FieldsOf(XInfoLayout(2)), FieldsOf(XInfoLayout(3))};
    return byType[xInfoType >= 1 && xInfoType <= 3 ? static_cast<std::size_t>(xInfoType) : 0];
}

const TemperatureField* FindTemperatureField(int xInfoType, std::string_view name) {
    for (const TemperatureField& field : TemperatureFields(xInfoType))
        if (field.name == name)
            return &field;
    return nullptr;
}

} // namespace lexorant
