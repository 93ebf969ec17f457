#pragma once
// Headings and cell texts of the X-Info grid; the X-Info type chooses the tail rows.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lexorant {

// 52 for type 1, 50 for type 2, 54 for type 3, 48 for any other type.
int XInfoRowCount(int xInfoType);

// XInfoRowCount(xInfoType) headings.
std::vector<std::string> XInfoRowHeadings(int xInfoType);

// All XInfoRowCount(xInfoType) texts of one entry column; `number` (from 1) is row 0, `slot` points at
// the entry's 96 bytes.
std::vector<std::string> XInfoColumnTexts(int number, const std::uint8_t* slot, int xInfoType,
                                          std::string_view decimalSeparator);

} // namespace lexorant
