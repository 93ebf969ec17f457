#include "records/xinfo_grid_model.h"

#include "records/entry_layout.h"

#include <algorithm>

namespace lexorant {

XInfoGridModel::XInfoGridModel(QObject* parent) : InfoGridModel(kXInfoSlotSize, parent) {}

void XInfoGridModel::Init(const InfoHeader& xInfo) {
    const EntryLayout& layout = XInfoLayout(xInfo.InfoType);
    Rebuild(layout, layout.RowCount(), nullptr, 0);
}

void XInfoGridModel::ShowEntry(int index, const std::uint8_t* slot) {
    WriteEntry(index, slot);
}

void XInfoGridModel::ShowAll(const RecordStore& store) {
    const EntryLayout& layout = XInfoLayout(store.XInfo.InfoType);
    // Never trust the header beyond the slots actually held.
    const std::size_t count =
        std::min<std::size_t>(store.XInfo.EntryCount, store.XInfoSlots.size() / kXInfoSlotSize);
    Rebuild(layout, layout.RowCount(), store.XInfoSlots.data(), count);
}

} // namespace lexorant
