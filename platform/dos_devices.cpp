#include "dos_devices.h"

#include <cctype>
#include <cstdlib>

namespace lexorant {

namespace fs = std::filesystem;

fs::path DeviceFolder() {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".config";
    } else {
        base = "/nonexistent";
    }
    return base / "brenno-lexorant" / "dosdevices";
}

std::optional<int> ComPortNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 5)
        return std::nullopt;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i])
            return std::nullopt;
    int n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return std::nullopt;
        n = n * 10 + (name[i] - '0');
    }
    if (name[3] == '0' || n < 1 || n > 15)
        return std::nullopt;
    return n;
}

fs::path SerialDevicePath(const std::string& name) {
    const auto n = ComPortNumber(name);
    if (!n)
        return fs::path(name);
    const fs::path link = DeviceFolder() / ("com" + std::to_string(*n));
    std::error_code ec;
    if (fs::is_symlink(link, ec) || fs::exists(link, ec))
        return link;
    if (*n <= 4)
        return "/dev/ttyS" + std::to_string(*n - 1);
    if (*n <= 10)
        return "/dev/ttyUSB" + std::to_string(*n - 5);
    return "/dev/ttyACM" + std::to_string(*n - 11);
}

std::optional<fs::path> ResolveWindowsPath(const std::string& name) {
    const bool drive = name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
    if (!drive)
        return fs::path(name);
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    const fs::path link = DeviceFolder() / std::string{letter, ':'};
    std::error_code ec;
    if (!fs::exists(link, ec))
        return std::nullopt;
    fs::path result = link;
    std::string part;
    for (size_t i = 2; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            if (!part.empty() && part != ".")
                result /= part;
            part.clear();
        } else {
            part += name[i];
        }
    }
    return result;
}

} // namespace lexorant
