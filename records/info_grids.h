#pragma once
// The grid operations of a read and of opening a file, on both grids at once.
#include "records/ginfo_grid_model.h"
#include "readout/record_store.h"
#include "records/xinfo_grid_model.h"

namespace lexorant {

// Both grids cut back to one empty entry column, headings and row counts from the store's headers.
void InitInfoGrids(const RecordStore& store, GInfoGridModel& gInfo, XInfoGridModel& xInfo);

} // namespace lexorant
