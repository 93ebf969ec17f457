#pragma once
// Sends an answer into the pseudo-terminal the way a UART would: one byte after the other.
#include <string_view>

namespace lexorant::sim {

// Writes bytes to fd (non-blocking). With baud > 0, byte i goes out at start + i * 10 / baud
// seconds, on absolute deadlines so that the sleeps do not add up. Returns false when the far
// end has gone or wakeFd became readable (the simulator is stopping).
bool SendAnswer(int fd, std::string_view bytes, int baud, int wakeFd);

} // namespace lexorant::sim
