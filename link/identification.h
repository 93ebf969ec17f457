#pragma once
// The read command's questions to the controller, asked on the calling thread.
#include "info_header.h"

#include <optional>
#include <string>

namespace lexorant {

class SerialPort;

inline constexpr const char* kNoPortText = "Please select a COM-Port";
inline constexpr const char* kNoSerialText = "Unable to read the serial number! Please check the baudrate";
inline constexpr const char* kNoGInfoHeaderText = "Unable to read G-Info type!";
inline constexpr const char* kNoXInfoHeaderText = "Unable to read X-Info type!";

// Sends "\r\n" and discards whatever comes back within the time-out.
void FlushLine(SerialPort& port);
std::optional<std::string> QuerySerialNumber(SerialPort& port);
// letter 'G' asks "GI?", 'X' asks "XI?".
std::optional<InfoHeader> QueryInfoHeader(SerialPort& port, char letter);

} // namespace lexorant
