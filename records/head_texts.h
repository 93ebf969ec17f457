#pragma once
// Rows 0 to 16, which both grids show alike.
#include "info_head.h"

#include <QString>

namespace lexorant {

inline constexpr int kHeadRowCount = 17;

// What a cell shows for a field that the entry's type cannot carry.
QString NotCarriedText();

// Empty for a row outside 0 to 16.
QString HeadRowHeading(int row);

// `number` is the entry number from 1 shown in row 0. Empty for a row outside 0 to 16.
QString HeadCellText(const InfoHead& head, int number, int row);

} // namespace lexorant
