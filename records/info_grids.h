#pragma once
// The grid operations of a read and of opening a file, on both grids at once.
#include "records/ginfo_grid_model.h"
#include "readout/record_store.h"
#include "records/xinfo_grid_model.h"

namespace lexorant {

// Both grids cut back to one empty entry column, headings and row counts from the store's headers.
void InitInfoGrids(const RecordStore& store, GInfoGridModel& gInfo, XInfoGridModel& xInfo);

// Entry `index` of the store into its column; an index outside the block does nothing.
void ShowGInfoEntry(const RecordStore& store, int index, GInfoGridModel& gInfo);
void ShowXInfoEntry(const RecordStore& store, int index, XInfoGridModel& xInfo);

// What opening a file shows: both grids prepared and every entry of both blocks shown, one model reset
// per grid. An empty block leaves one empty entry column.
void ShowAllEntries(const RecordStore& store, GInfoGridModel& gInfo, XInfoGridModel& xInfo);

} // namespace lexorant
