#pragma once
// The temperature chart of a read-out's X-Info block, as the chart window first shows it, drawn into
// a report's page as vectors.
#include "readout/record_store.h"
#include "report/report_pdf.h"

namespace lexorant {

// The store must outlive the drawer.
ReportChart TemperatureReportChart(const RecordStore& store);

} // namespace lexorant
