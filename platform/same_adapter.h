#pragma once
// A USB serial adapter that was pulled and plugged in again may come back under another name
// (ttyUSB0 becomes ttyUSB1 while something still held the old one): found again by what it says
// of itself, vendor, product and serial number. Linux only; elsewhere nothing is ever found.
#include "platform/port_survey.h"

#include <filesystem>
#include <optional>

namespace lexorant {

// The adapter behind a device as it is now (a link is followed): taken while it is still there.
std::optional<UsbAdapter> AdapterOfDevice(const std::filesystem::path& device,
                                          const std::filesystem::path& sysfsRoot = "/sys");

// The device ("/dev/<tty>") of the one tty under <sysfsRoot>/class/tty whose USB adapter has the
// same vendor, product and serial number as `lost`; nothing when none or several have them.
std::optional<std::filesystem::path> FindSameAdapter(const std::filesystem::path& sysfsRoot,
                                                     const UsbAdapter& lost);

// A link (a port's in the device folder) whose target is gone.
bool LinkDangles(const std::filesystem::path& link);

} // namespace lexorant
