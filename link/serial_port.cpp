#include "link/serial_port.h"

#include "link/wire_trace.h"
#include "platform/dos_devices.h"

namespace lexorant {

SerialPort::SerialPort() = default;
SerialPort::~SerialPort() = default;

bool SerialPort::OpenPort(const std::string& name, int rate) {
    portName_ = name;
    bitRate_ = rate;
    return device_.Open(SerialDevicePath(name), rate) == SerialDevice::OpenResult::Opened;
}

bool SerialPort::ClosePort() {
    portName_.clear();
    return device_.Close();
}

bool SerialPort::Reopen() {
    const std::string name = portName_; // ClosePort forgets it
    const int rate = bitRate_;
    ClosePort();
    return OpenPort(name, rate);
}

bool SerialPort::OpenDevice(const std::filesystem::path& device) {
    device_.Close();
    return device_.Open(device, bitRate_) == SerialDevice::OpenResult::Opened;
}

Exchanged SerialPort::Exchange(std::string_view request, std::size_t limit) {
    if (trace_)
        trace_->Request(request);
    Exchanged exchanged = device_.Exchange(std::string(request), limit, answerTimeout_);
    if (trace_)
        trace_->Answer(exchanged);
    return exchanged;
}

void SerialPort::SetTrace(std::shared_ptr<WireTrace> trace) {
    trace_ = std::move(trace);
}

} // namespace lexorant
