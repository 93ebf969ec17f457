#include "xinfo_grid_model.h"

#include "xinfo_texts.h"

#include <algorithm>

namespace lexorant {

XInfoGridModel::XInfoGridModel(QObject* parent) : InfoGridModel(kXInfoSlotSize, parent) {}

void XInfoGridModel::Init(const InfoHeader& xInfo) {
    xInfoType_ = xInfo.InfoType;
    Rebuild(XInfoRowHeadings(xInfoType_), XInfoRowCount(xInfoType_), nullptr, 0);
}

void XInfoGridModel::ShowEntry(int index, const std::uint8_t* slot) {
    WriteEntry(index, slot);
}

void XInfoGridModel::ShowAll(const RecordStore& store) {
    xInfoType_ = store.XInfo.InfoType;
    // Never trust the header beyond the slots actually held.
    const std::size_t count =
        std::min<std::size_t>(store.XInfo.EntryCount, store.XInfoSlots.size() / kXInfoSlotSize);
    Rebuild(XInfoRowHeadings(xInfoType_), XInfoRowCount(xInfoType_), store.XInfoSlots.data(), count);
}

QString XInfoGridModel::EntryCellText(int number, const std::uint8_t* slot, int row) const {
    return XInfoCellText(XInfoRecord::FromSlot(slot), number, xInfoType_, row, DecimalSeparator());
}

} // namespace lexorant
