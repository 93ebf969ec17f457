#include "records/info_grids.h"

namespace lexorant {

void InitInfoGrids(const RecordStore& store, GInfoGridModel& gInfo, XInfoGridModel& xInfo) {
    gInfo.Init(store.GInfo);
    xInfo.Init(store.XInfo);
}

} // namespace lexorant
