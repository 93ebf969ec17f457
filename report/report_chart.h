#pragma once
// The temperature chart of a read-out's X-Info block, as the chart window first shows it, drawn into
// a report's page as vectors.
#include "readout/entry_set.h"
#include "readout/record_store.h"
#include "report/report_pdf.h"

namespace lexorant {

// The store (and `read`) must outlive the drawer. With `read`, only the entries in it are drawn.
ReportChart TemperatureReportChart(const RecordStore& store, const EntrySet* read = nullptr);

} // namespace lexorant
