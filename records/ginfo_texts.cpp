#include "ginfo_texts.h"

#include "head_texts.h"

namespace lexorant {

std::vector<QString> GInfoRowHeadings() {
    std::vector<QString> headings;
    headings.reserve(kGInfoRowCount);
    for (int row = 0; row < kGInfoRowCount; ++row) {
        headings.push_back(HeadRowHeading(row));
    }
    return headings;
}

QString GInfoCellText(const GInfoRecord& record, int number, int row) {
    return HeadCellText(record, number, row);
}

std::vector<QString> GInfoColumnTexts(int number, const std::uint8_t* slot) {
    const GInfoRecord record = GInfoRecord::FromSlot(slot);
    std::vector<QString> texts;
    texts.reserve(kGInfoRowCount);
    for (int row = 0; row < kGInfoRowCount; ++row) {
        texts.push_back(GInfoCellText(record, number, row));
    }
    return texts;
}

} // namespace lexorant
