#pragma once
// The sub-commands of lexorant-cli; each returns the process exit code.
#include <string>
#include <vector>

namespace lexorant::cli {

using Arguments = std::vector<std::string>;

int Read(const Arguments& args);
int Show(const Arguments& args);
int Message(const Arguments& args);
#ifdef LEXORANT_WITH_CHART
int Chart(const Arguments& args);
#endif

// The user's decimal separator, from the locale (a German locale gives a comma).
char UserDecimalSeparator();

} // namespace lexorant::cli
