#pragma once
#include <cstdint>

namespace lexorant {

// Whether a message code is one of the controller's faults (rather than a warning or a notice).
bool IsFaultMessage(std::int16_t code);

} // namespace lexorant
