#include "platform/dos_devices.h"

#include <cstdlib>
#include <vector>

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
    const char first = name.empty() ? '\0' : static_cast<char>(name[0] | 0x20); // ASCII lower case
    const bool drive = name.size() >= 2 && first >= 'a' && first <= 'z' && name[1] == ':';
    if (!drive)
        return fs::path(name);
    const fs::path link = DeviceFolder() / std::string{first, ':'};
    std::error_code ec;
    // A drive whose link leads nowhere is as unreachable as one without a link.
    const fs::path root = fs::canonical(link, ec);
    if (ec || !fs::is_directory(root, ec))
        return std::nullopt;
    // As on the drive itself, ".." stops at the drive's root: no name can reach past the target.
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 2; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != '\\' && name[i] != '/') {
            part += name[i];
            continue;
        }
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    fs::path result = root;
    for (const auto& p : parts)
        result /= p;
    return result;
}

} // namespace lexorant
