#include "records/ginfo_grid_model.h"

#include "records/entry_layout.h"

#include <algorithm>

namespace lexorant {

namespace {

// Any other G-Info type leaves the row count alone.
int RowCountFor(const InfoHeader& gInfo) {
    return gInfo.InfoType == 0 ? GInfoLayout().RowCount() : 0;
}

} // namespace

GInfoGridModel::GInfoGridModel(QObject* parent) : InfoGridModel(kGInfoSlotSize, parent) {}

void GInfoGridModel::Init(const InfoHeader& gInfo) {
    Rebuild(GInfoLayout(), RowCountFor(gInfo), nullptr, 0);
}

void GInfoGridModel::ShowEntry(int index, const std::uint8_t* slot) {
    WriteEntry(index, slot);
}

void GInfoGridModel::ShowAll(const RecordStore& store) {
    // Never trust the header beyond the slots actually held.
    const std::size_t count =
        std::min<std::size_t>(store.GInfo.EntryCount, store.GInfoSlots.size() / kGInfoSlotSize);
    Rebuild(GInfoLayout(), RowCountFor(store.GInfo), store.GInfoSlots.data(), count);
}

} // namespace lexorant
