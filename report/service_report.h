#pragma once
// The service report of a read-out as a PDF file: the same document from the window and from
// lexorant-cli. Needs a QApplication.
#include "file/read_out_file.h"
#include "readout/record_store.h"
#include "report/report_content.h"

#include <string>

namespace lexorant {

// Writes the report of the read-out, under the name it is known by, to `target`, replacing it whole or not at
// all. Empty on success, otherwise "Unable to write file " + target. Names as the file system has them.
// `partial`: see BuildReportContent. `since`: the section on what changed since an older read-out
// (BuildSinceSection), or none.
std::string WriteServiceReport(const RecordStore& store, const std::string& readOutName, const std::string& target,
                               const ReadOutFile* partial = nullptr, const ReportSince* since = nullptr);

} // namespace lexorant
