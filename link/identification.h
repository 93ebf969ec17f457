#pragma once
// The read command's identification of the controller, asked on the calling thread: flush, "SN?",
// then "GI?" and "XI?". Two steps, so that the caller can choose the file name between them.
#include "readout/info_header.h"

#include <optional>
#include <string>

namespace lexorant {

class SerialPort;

inline constexpr const char* kNoPortText = "Please select a COM-Port";
inline constexpr const char* kNoSerialText = "Unable to read the serial number! Please check the baudrate";
inline constexpr const char* kNoGInfoHeaderText = "Unable to read G-Info type!";
inline constexpr const char* kNoXInfoHeaderText = "Unable to read X-Info type!";

struct InfoHeaders {
    InfoHeader g;
    InfoHeader x;
};

class Identification {
public:
    explicit Identification(SerialPort& port) : port_(port) {}

    // Nothing when no port is open; otherwise sends "\r\n", discards what comes back within the
    // time-out, and asks "SN?".
    std::optional<std::string> SerialNumber();
    // SerialNumber at the port's rate; when that brings no accepted answer, "SN?" once more at each
    // of the other rates, the port opened anew by its name for each, until one answers (each costs a
    // time-out). The port stays at the rate that answered; when none did, it is back at its own and
    // the failure is the one at that rate.
    std::optional<std::string> SerialNumberAtAnyRate();
    // Asks "GI?" and, once that is accepted, "XI?".
    std::optional<InfoHeaders> Headers();

    // After a failed step: the text to show, and why, as far as the line tells: "(no answer within
    // 2000 ms)", "(answered 7 bytes without CR LF)", ... (empty for a port that is not open).
    // Both also go to the port's trace.
    const std::string& FailureText() const { return failureText_; }
    const std::string& FailureReason() const { return failureReason_; }

private:
    void Fail(const char* text, std::string reason);

    SerialPort& port_;
    std::string failureText_;
    std::string failureReason_;
};

} // namespace lexorant
