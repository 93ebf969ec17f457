#pragma once
// The service report of a read-out as a PDF file: the same document from the window and from
// lexorant-cli. Needs a QApplication.
#include "readout/read_out.h"

#include <string>

namespace lexorant {

// Writes the report of the read-out, under the name it is known by, to `target`, replacing it whole or not at
// all. Empty on success, otherwise "Unable to write file " + target. Names as the file system has them.
std::string WriteServiceReport(const ReadOut& readOut, const std::string& target);

} // namespace lexorant
