#include "records/ginfo_texts.h"

#include "records/entry_layout.h"

namespace lexorant {

std::vector<std::string> GInfoRowHeadings() {
    const EntryLayout& layout = GInfoLayout();
    std::vector<std::string> headings;
    for (int row = 0; row < layout.RowCount(); ++row)
        headings.emplace_back(layout.Heading(row));
    return headings;
}

std::vector<std::string> GInfoColumnTexts(int number, const std::uint8_t* slot) {
    const EntryLayout& layout = GInfoLayout();
    std::vector<std::string> texts;
    for (int row = 0; row < layout.RowCount(); ++row)
        texts.push_back(CellText(layout, slot, number, row, "."));
    return texts;
}

} // namespace lexorant
