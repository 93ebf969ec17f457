#pragma once
// The read-out of a unit's visit before the one in a given autosave file.
#include <optional>
#include <string>

namespace lexorant {

// For an autosave name "<serial>_NN.inf": the file of the same serial in the same folder with the
// highest number below NN (numbers may have gaps; another unit's files never count), named as
// `fileName` names its folder. Nothing for the unit's first read-out, for a name that is no autosave
// name and for a folder that cannot be listed.
std::optional<std::string> PreviousAutosaveReadOut(const std::string& fileName);

} // namespace lexorant
