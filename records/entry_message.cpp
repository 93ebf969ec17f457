#include "records/entry_message.h"

#include "catalogue/find_message_text.h"

namespace lexorant {

std::string MessageTextOfSlot(const EntryLayout& layout, const std::uint8_t* slot,
                              std::string_view decimalSeparator) {
    // The entry number (row 0) plays no part in row 4.
    return FindMessageText(CellText(layout, slot, 1, kMessageRow, decimalSeparator), decimalSeparator);
}

std::string MessageTextOfEntry(const RecordStore& store, EntryRef entry, std::string_view decimalSeparator) {
    const EntryLayout& layout =
        entry.block == InfoBlock::GInfo ? GInfoLayout() : XInfoLayout(store.XInfo.InfoType);
    return MessageTextOfSlot(layout, SlotOf(store, entry), decimalSeparator);
}

std::string MessageTextOfEntry(const ReadOutData& readOut, EntryRef entry,
                               std::string_view decimalSeparator) {
    if (!readOut.in.Has(entry))
        return FindMessageText("", decimalSeparator);
    return MessageTextOfEntry(readOut.store, entry, decimalSeparator);
}

} // namespace lexorant
