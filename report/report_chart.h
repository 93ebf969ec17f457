#pragma once
// The temperature chart of a read-out's X-Info block, as the chart window first shows it, drawn into
// a report's page as vectors.
#include "readout/read_out_data.h"
#include "report/report_pdf.h"

namespace lexorant {

// The read-out must outlive the drawer. Only the entries that are in are drawn.
ReportChart TemperatureReportChart(const ReadOutData& readOut);

} // namespace lexorant
