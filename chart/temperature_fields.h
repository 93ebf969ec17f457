#pragma once
// The temperatures (in degrees Celsius) that an X-Info entry of a given X-Info type carries, as the
// chart draws them.
#include "xinfo_record.h"

#include <optional>
#include <string_view>
#include <vector>

namespace lexorant {

struct TemperatureField {
    std::string_view name; // the field's name, also its name on the command line
    // The value in degrees, or none where the grid shows "???": the entry cannot carry it.
    std::optional<double> (*value)(const XInfoRecord& record);
    bool shownAtFirst;
};

// In grid row order; empty for no type (never: the fixed part always has temperatures).
const std::vector<TemperatureField>& TemperatureFields(int xInfoType);

// The field of that name for the type, or null.
const TemperatureField* FindTemperatureField(int xInfoType, std::string_view name);

} // namespace lexorant
