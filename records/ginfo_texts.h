#pragma once
// Headings and cell texts of the G-Info grid.
#include "ginfo_record.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace lexorant {

// Rows 0 to 16, whatever the G-Info type.
inline constexpr int kGInfoRowCount = 17;

std::vector<QString> GInfoRowHeadings();

// `number` is the entry number from 1 (row 0). Empty for a row the entry does not write.
QString GInfoCellText(const GInfoRecord& record, int number, int row);

// Rows 0 to 16 of one entry column; `slot` points at its 16 bytes.
std::vector<QString> GInfoColumnTexts(int number, const std::uint8_t* slot);

} // namespace lexorant
