#pragma once
// A unit served from a ".inf" read-out instead of generated data.
#include "tools/sim/unit.h"

#include <optional>
#include <string>

namespace lexorant::sim {

// Nothing when the file cannot be opened. Bytes that the file lacks read as zero.
std::optional<SimUnit> LoadUnitFile(const std::string& path, const std::string& serial);

} // namespace lexorant::sim
