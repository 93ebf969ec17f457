#include "records/xinfo_texts.h"

#include "records/entry_layout.h"

namespace lexorant {

int XInfoRowCount(int xInfoType) {
    return XInfoLayout(xInfoType).RowCount();
}

std::vector<std::string> XInfoRowHeadings(int xInfoType) {
    const EntryLayout& layout = XInfoLayout(xInfoType);
    std::vector<std::string> headings;
    for (int row = 0; row < layout.RowCount(); ++row)
        headings.emplace_back(layout.Heading(row));
    return headings;
}

std::vector<std::string> XInfoColumnTexts(int number, const std::uint8_t* slot, int xInfoType,
                                          std::string_view decimalSeparator) {
    const EntryLayout& layout = XInfoLayout(xInfoType);
    std::vector<std::string> texts;
    for (int row = 0; row < layout.RowCount(); ++row)
        texts.push_back(CellText(layout, slot, number, row, decimalSeparator));
    return texts;
}

} // namespace lexorant
