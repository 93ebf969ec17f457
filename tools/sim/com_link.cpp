#include "tools/sim/com_link.h"

#include "platform/dos_devices.h"

#include <stdexcept>

namespace lexorant::sim {

namespace fs = std::filesystem;

ComLink::ComLink(const std::string& portName, const fs::path& target) : target_(target) {
    const auto number = ComPortNumber(portName);
    if (!number)
        throw std::invalid_argument("not a port name from com1 to com15: " + portName);
    const fs::path folder = DeviceFolder();
    fs::create_directories(folder);
    link_ = folder / ("com" + std::to_string(*number));
    std::error_code ignored;
    fs::remove(link_, ignored);
    fs::create_symlink(target_, link_);
}

ComLink::~ComLink() {
    std::error_code ec;
    if (fs::read_symlink(link_, ec) == target_ && !ec)
        fs::remove(link_, ec);
}

} // namespace lexorant::sim
