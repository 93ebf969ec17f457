#pragma once
// A look at COM1..COM15 as they are now, for a technician who wonders why a port cannot be
// chosen: where each name leads, whether the device is there and free, and which USB adapter it is.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lexorant {

enum class PortAccess {
    Missing,          // no device under the name
    Free,             // opened and its line settings read
    Busy,             // held exclusively by another program
    PermissionDenied, // the user may not open it
    NoSerialLine,     // opened, but it has no line settings: no serial device
    Unusable,         // exists, but opening it failed otherwise (error says how)
};

struct UsbAdapter {
    std::string vendorId;  // "0403"
    std::string productId; // "6001"
    std::string manufacturer;
    std::string product;
    std::string serial;
};

struct PortReport {
    int number = 0;
    std::filesystem::path device; // what the name opens: the link's target or the default device
    bool linked = false;          // device comes from a link in the device folder
    PortAccess access = PortAccess::Missing;
    int error = 0; // errno for Unusable and NoSerialLine
    std::optional<UsbAdapter> usb;
    // The adapter's name that stays when it is plugged in elsewhere: the link in the by-id folder
    // whose target is the device.
    std::optional<std::filesystem::path> stableName;
};

// Tries the device as the program opens it (read and write, non-blocking, exclusive) and lets go.
PortAccess CheckPortAccess(const std::filesystem::path& device, int& error);

// The USB device that the tty hangs off, from <sysfsRoot>/class/tty/<ttyName>/device upwards to the
// folder that has idVendor; nothing for a tty that is no USB adapter.
std::optional<UsbAdapter> FindUsbAdapter(const std::filesystem::path& sysfsRoot, const std::string& ttyName);

// COM1..COM15 in order.
std::vector<PortReport> SurveyPorts(const std::filesystem::path& sysfsRoot = "/sys",
                                    const std::filesystem::path& byIdFolder = "/dev/serial/by-id");

// One line: "COM5   /dev/ttyUSB0    exists, free; USB 0403:6001 FTDI FT232R USB UART, serial A50285BI".
std::string DescribePort(const PortReport& report);

// For a USB adapter with a stable name, the indented line below DescribePort's: the name, and the
// command that links the port to it ("ln -sfn '<stable name>' '<device folder>/comN'"). Empty otherwise.
std::string DescribeStableName(const PortReport& report);

} // namespace lexorant
