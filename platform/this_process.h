#pragma once
// What a file written on a shared folder says of its writer, to tell later whether that writer is gone.
#include <string>

namespace lexorant {

// This computer's name as the system gives it; empty when it gives none.
std::string ThisHost();
// True only when no process pid runs on this computer (one that cannot be looked at runs).
bool ProcessIsGone(long pid);

} // namespace lexorant
