#include "records/info_grids.h"

namespace lexorant {

namespace {

bool InBlock(int index, const InfoHeader& header, std::size_t slotBytes, std::size_t slotSize) {
    const auto i = static_cast<std::size_t>(index);
    return index >= 0 && index < header.EntryCount && (i + 1) * slotSize <= slotBytes;
}

} // namespace

void InitInfoGrids(const RecordStore& store, GInfoGridModel& gInfo, XInfoGridModel& xInfo) {
    gInfo.Init(store.GInfo);
    xInfo.Init(store.XInfo);
}

void ShowGInfoEntry(const RecordStore& store, int index, GInfoGridModel& gInfo) {
    if (InBlock(index, store.GInfo, store.GInfoSlots.size(), kGInfoSlotSize)) {
        gInfo.ShowEntry(index, store.GInfoSlot(static_cast<std::size_t>(index)));
    }
}

void ShowXInfoEntry(const RecordStore& store, int index, XInfoGridModel& xInfo) {
    if (InBlock(index, store.XInfo, store.XInfoSlots.size(), kXInfoSlotSize)) {
        xInfo.ShowEntry(index, store.XInfoSlot(static_cast<std::size_t>(index)));
    }
}

void ShowAllEntries(const RecordStore& store, GInfoGridModel& gInfo, XInfoGridModel& xInfo) {
    gInfo.ShowAll(store);
    xInfo.ShowAll(store);
}

} // namespace lexorant
