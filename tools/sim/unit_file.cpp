#include "tools/sim/unit_file.h"

#include "file/info_file.h"

namespace lexorant::sim {

std::optional<SimUnit> LoadUnitFile(const std::string& path, const std::string& serial) {
    SimUnit unit;
    unit.serial = serial;
    if (!LoadInfoFile(path, unit.store))
        return std::nullopt;
    return unit;
}

} // namespace lexorant::sim
