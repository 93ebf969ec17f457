#pragma once
// Headings and cell texts of the G-Info grid.
#include <cstdint>
#include <string>
#include <vector>

namespace lexorant {

// Rows 0 to 16, whatever the G-Info type.
inline constexpr int kGInfoRowCount = 17;

std::vector<std::string> GInfoRowHeadings();

// Rows 0 to 16 of one entry column; `number` (from 1) is row 0, `slot` points at the entry's 16 bytes.
std::vector<std::string> GInfoColumnTexts(int number, const std::uint8_t* slot);

} // namespace lexorant
