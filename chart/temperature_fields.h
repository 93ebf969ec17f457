#pragma once
// The temperatures (in degrees Celsius) that an X-Info entry of a given X-Info type carries, as the
// chart draws them: the fields that the entry tables mark as temperatures.
#include "records/field_table.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lexorant {

struct TemperatureField {
    std::string_view name; // the field's name, also its name on the command line
    const FieldDef* field; // where the entry holds it
    bool shownAtFirst;

    // The value in degrees of the 96-byte slot, or none where the grid shows "???": the entry cannot
    // carry it.
    std::optional<double> Value(const std::uint8_t* slot) const;
};

// In grid row order; never empty (the fixed part always has temperatures).
const std::vector<TemperatureField>& TemperatureFields(int xInfoType);

// The field of that name for the type, or null.
const TemperatureField* FindTemperatureField(int xInfoType, std::string_view name);

} // namespace lexorant
