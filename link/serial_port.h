#pragma once
// The program's one serial line: port name, bit rate and the open device.
#include "serial_device.h"

#include <cstddef>
#include <string>

namespace lexorant {

class SerialPort {
public:
    // Stores name and rate even when the open fails. True when open and configured.
    bool OpenPort(const std::string& name, int rate);
    bool ClosePort();
    // Writes the request and reads up to limit bytes within the 2000 ms read time-out.
    std::string Exchange(std::string_view request, std::size_t limit);
    bool IsOpen() const { return device_.IsOpen(); }

    const std::string& PortName() const { return portName_; }
    int BitRate() const { return bitRate_; }
    void SetBitRate(int rate) { bitRate_ = rate; }

    // Quitting: wakes an exchange blocked on another thread and makes later ones return at once.
    void Cancel() { device_.Cancel(); }
    void ResetCancel() { device_.ResetCancel(); }

private:
    SerialDevice device_;
    std::string portName_;
    int bitRate_ = 9600;
};

} // namespace lexorant
