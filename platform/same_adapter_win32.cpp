#include "platform/same_adapter.h"

// Windows gives an adapter with a serial number its COM number back wherever it is plugged in, and
// a port name here is no link: nothing is looked for.
namespace lexorant {

std::optional<UsbAdapter> AdapterOfDevice(const std::filesystem::path&, const std::filesystem::path&) {
    return std::nullopt;
}

std::optional<std::filesystem::path> FindSameAdapter(const std::filesystem::path&, const UsbAdapter&) {
    return std::nullopt;
}

bool LinkDangles(const std::filesystem::path&) {
    return false;
}

} // namespace lexorant
