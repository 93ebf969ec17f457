#pragma once
// The sub-commands of lexorant-cli; each returns the process exit code.
#include "file/read_out_file.h"

#include <optional>
#include <string>
#include <vector>

namespace lexorant::cli {

using Arguments = std::vector<std::string>;

int Read(const Arguments& args);
int Show(const Arguments& args);
int Message(const Arguments& args);
int Summary(const Arguments& args);
int Compare(const Arguments& args);
#ifndef _WIN32
int Ports(const Arguments& args);
#endif
#ifdef LEXORANT_WITH_EXPORT
int Export(const Arguments& args);
#endif
#ifdef LEXORANT_WITH_CHART
int Chart(const Arguments& args);
#endif
#ifdef LEXORANT_WITH_REPORT
int Report(const Arguments& args);
#endif

// Loads a read-out as the window's Open command does, or a kept, partial one (and says so on standard
// error); says "Unable to open file NAME" when it cannot.
std::optional<ReadOutData> LoadReadOut(const std::string& file);

} // namespace lexorant::cli
