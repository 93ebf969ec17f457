#pragma once
// The report's section "Since the previous read-out": what changed against an older read-out of the
// same unit, for lexorant-cli report --since and the window's report while it compares.
#include "compare/read_out_comparison.h"
#include "readout/read_out_data.h"
#include "readout/record_store.h"
#include "report/report_content.h"

namespace lexorant {

// `comparison`: of `older` against `newer`, the read-out the report is about.
ReportSince BuildSinceSection(const ReadOutComparison& comparison, const ReadOutData& older,
                              const RecordStore& newer);

} // namespace lexorant
