#pragma once
// Headings and cell texts of the X-Info grid; the X-Info type chooses the tail rows.
#include "xinfo_record.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <vector>

namespace lexorant {

// 52 for type 1, 50 for type 2, 54 for type 3, 48 for any other type.
int XInfoRowCount(int xInfoType);

// XInfoRowCount(xInfoType) headings.
std::vector<QString> XInfoRowHeadings(int xInfoType);

// `number` is the entry number from 1 (row 0). Empty for a row the entry does not write.
QString XInfoCellText(const XInfoRecord& record, int number, int xInfoType, int row, QChar decimalSeparator);

// All XInfoRowCount(xInfoType) texts of one entry column; `slot` points at its 96 bytes.
std::vector<QString> XInfoColumnTexts(int number, const std::uint8_t* slot, int xInfoType,
                                      QChar decimalSeparator);

} // namespace lexorant
