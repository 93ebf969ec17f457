#include "link/port_commands.h"

#include "link/serial_port.h"

#include <string>

namespace lexorant {

namespace {
std::string ComName(int n) {
    return "COM" + std::to_string(n);
}
} // namespace

void ProbePorts(SerialPort& port, PortMenu& menu) {
    port.SetBitRate(9600);
    menu.SetRateChecked(9600, true);
    port.ClosePort();
    std::array<bool, kPortCount + 1> usable{};
    for (int n = 1; n <= kPortCount; ++n) {
        usable[static_cast<std::size_t>(n)] = port.OpenPort(ComName(n), 9600);
        menu.SetPortEnabled(n, usable[static_cast<std::size_t>(n)]);
        port.ClosePort();
    }
    for (int n = 1; n <= kPortCount; ++n) {
        if (usable[static_cast<std::size_t>(n)]) {
            port.OpenPort(ComName(n), 9600);
            menu.SetPortChecked(n, true);
            break;
        }
    }
}

void PortCommand(SerialPort& port, PortMenu& menu, int portNumber) {
    port.ClosePort();
    for (int n = 1; n <= kPortCount; ++n)
        menu.SetPortChecked(n, false);
    if (port.OpenPort(ComName(portNumber), port.BitRate()))
        menu.SetPortChecked(portNumber, true);
}

void RateCommand(SerialPort& port, PortMenu& menu, int rate) {
    const std::string name = port.PortName();
    port.ClosePort();
    if (port.OpenPort(name, rate)) {
        for (int r : kBitRates)
            menu.SetRateChecked(r, r == rate);
    }
}

} // namespace lexorant
