#pragma once
#include "platform/regular_file.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lexorant {

// Reads on from file, behind what bytes already holds, until bytes holds limit bytes or the file
// ends. The buffer grows with what arrives, so a file that claims much but holds little costs what
// it holds. False on a read error.
bool ReadOnUpTo(RegularFileReader& file, std::size_t limit, std::vector<std::uint8_t>& bytes);

} // namespace lexorant
