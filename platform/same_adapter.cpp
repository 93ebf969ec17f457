#include "platform/same_adapter.h"

#include <system_error>

namespace lexorant {

namespace fs = std::filesystem;

std::optional<UsbAdapter> AdapterOfDevice(const fs::path& device, const fs::path& sysfsRoot) {
    std::error_code ec;
    const fs::path target = fs::canonical(device, ec);
    if (ec)
        return std::nullopt;
    return FindUsbAdapter(sysfsRoot, target.filename().string());
}

std::optional<fs::path> FindSameAdapter(const fs::path& sysfsRoot, const UsbAdapter& lost) {
    std::optional<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(sysfsRoot / "class" / "tty", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const auto adapter = FindUsbAdapter(sysfsRoot, name);
        if (!adapter || adapter->vendorId != lost.vendorId || adapter->productId != lost.productId ||
            adapter->serial != lost.serial)
            continue;
        if (found) // two alike: which one the unit hangs on cannot be told from here
            return std::nullopt;
        found = fs::path("/dev") / name;
    }
    return found;
}

bool LinkDangles(const fs::path& link) {
    std::error_code ec;
    return fs::is_symlink(link, ec) && !fs::exists(link, ec);
}

} // namespace lexorant
