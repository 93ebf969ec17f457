#pragma once
// The start-up probe and the port and rate commands, against the menu items they tick.
#include <array>

namespace lexorant {

class SerialPort;

inline constexpr int kPortCount = 15;
inline constexpr std::array<int, 5> kBitRates = {1200, 2400, 4800, 9600, 19200};

// What the commands need of the menu: port items 1..15 and the five rate items.
class PortMenu {
public:
    virtual ~PortMenu() = default;
    virtual void SetPortEnabled(int port, bool enabled) = 0;
    virtual void SetPortChecked(int port, bool checked) = 0;
    virtual void SetRateChecked(int rate, bool checked) = 0;
};

// 9600 ticked, COM1..COM15 tried, the usable ones enabled, the first of them opened and ticked.
void ProbePorts(SerialPort& port, PortMenu& menu);
void PortCommand(SerialPort& port, PortMenu& menu, int portNumber);
void RateCommand(SerialPort& port, PortMenu& menu, int rate);

} // namespace lexorant
