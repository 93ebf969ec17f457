#pragma once
// The service report of a read-out as a PDF file: the same document from the window and from
// lexorant-cli. Needs a QApplication.
#include "readout/read_out_data.h"
#include "report/report_content.h"

#include <string>

namespace lexorant {

// Writes the report of the read-out (see BuildReportContent) to `target`, a name as the user gave it
// (through the drive mapping, ResolveWindowsPath), replacing it whole or not at all. Empty on success,
// otherwise "Unable to write file " + target. `since`: the section on what changed since an older
// read-out (BuildSinceSection), or none.
std::string WriteServiceReport(const ReadOutData& readOut, const std::string& target,
                               const ReportSince* since = nullptr);

} // namespace lexorant
