#include "platform/dos_devices.h"

#include "platform/wide_names.h"

namespace lexorant {

namespace fs = std::filesystem;

fs::path SerialDevicePath(const std::string& name) {
    // The device namespace reaches COM10 to COM15 too, which the plain names do not.
    if (const auto n = ComPortNumber(name))
        return fs::path(L"\\\\.\\COM" + std::to_wstring(*n));
    return fs::path(win32::Widen(name));
}

std::optional<fs::path> ResolveWindowsPath(const std::string& name) {
    return fs::path(win32::Widen(name));
}

} // namespace lexorant
