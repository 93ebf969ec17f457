#pragma once
// A read-out as the tools open it: an ".inf" file, or a kept read-out of a read that has not ended
// (recognised by its signature, whatever its name), which is never taken for a complete one.
#include "readout/read_out_data.h"

#include <optional>
#include <string>

namespace lexorant {

// The read-out in a file (named as LoadInfoFile takes it) as one value: its entries, which are in
// (every entry of an ".inf" file, a short one's missing bytes zero; of a kept one those read), and the
// unit's serial (from inside a kept read-out, else what the file name says, SerialOfFileName).
// Nothing when the file cannot be opened, or is a kept read-out with a damaged head.
std::optional<ReadOutData> LoadReadOut(const std::string& fileName);

} // namespace lexorant
