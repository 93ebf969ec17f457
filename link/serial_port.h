#pragma once
// The program's one serial line: port name, bit rate and the open device.
#include "platform/serial_device.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace lexorant {

class WireTrace;

// Every answer is awaited this long after its request has gone out, unless the port is told otherwise.
inline constexpr std::chrono::milliseconds kAnswerTimeout{2000};

class SerialPort {
public:
    SerialPort();
    ~SerialPort();

    // Stores name and rate even when the open fails. True when open and configured.
    bool OpenPort(const std::string& name, int rate);
    bool ClosePort();
    // Closes the port and opens it again by its name and rate: a line that hung up, or an adapter that
    // was pulled and plugged in again. True when open again.
    bool Reopen();
    // Opens `device` in place of the one the name leads to, keeping name and rate: the same adapter
    // back under another device name. True when open.
    bool OpenDevice(const std::filesystem::path& device);
    // Lets go of the device but keeps name and rate for Reopen: a device that is gone is given back
    // to the system at once, which can then give an adapter plugged in again its old name.
    void CloseDevice() { device_.Close(); }
    // Writes the request and reads up to limit bytes within the answer time-out; says how it ended.
    Exchanged Exchange(std::string_view request, std::size_t limit);
    void SetAnswerTimeout(std::chrono::milliseconds timeout) { answerTimeout_ = timeout; }
    std::chrono::milliseconds AnswerTimeout() const { return answerTimeout_; }
    bool IsOpen() const { return device_.IsOpen(); }

    const std::string& PortName() const { return portName_; }
    int BitRate() const { return bitRate_; }
    void SetBitRate(int rate) { bitRate_ = rate; }

    // Quitting: wakes an exchange blocked on another thread and makes later ones return at once.
    void Cancel() { device_.Cancel(); }
    void ResetCancel() { device_.ResetCancel(); }

    // Every later exchange is traced there; set before a read starts, not while one runs.
    void SetTrace(std::shared_ptr<WireTrace> trace);
    WireTrace* Trace() const { return trace_.get(); }

private:
    SerialDevice device_;
    std::string portName_;
    int bitRate_ = 9600;
    std::chrono::milliseconds answerTimeout_ = kAnswerTimeout;
    std::shared_ptr<WireTrace> trace_;
};

} // namespace lexorant
