#include "commands.h"

namespace lexorant::cli {
int Show(const Arguments&) { return 1; }
} // namespace lexorant::cli
