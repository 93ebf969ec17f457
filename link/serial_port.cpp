#include "serial_port.h"

#include "dos_devices.h"

namespace lexorant {

bool SerialPort::OpenPort(const std::string& name, int rate) {
    portName_ = name;
    bitRate_ = rate;
    return device_.Open(SerialDevicePath(name), rate) == SerialDevice::OpenResult::Opened;
}

bool SerialPort::ClosePort() {
    portName_.clear();
    return device_.Close();
}

std::string SerialPort::Exchange(std::string_view request, std::size_t limit) {
    return device_.Exchange(std::string(request), limit).answer;
}

} // namespace lexorant
