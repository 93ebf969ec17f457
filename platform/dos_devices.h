#pragma once
// Windows names of ports and files. On Windows they are what they say; on Linux COM ports and drive
// letters are symlinks in a device folder, ${XDG_CONFIG_HOME:-$HOME/.config}/brenno-lexorant/dosdevices/
// ("com1", "o:", ...).
#include <filesystem>
#include <optional>
#include <string>

namespace lexorant {

#ifndef _WIN32
std::filesystem::path DeviceFolder();
#endif

// 1..15 for "COM1".."COM15" (any case), nothing for other texts.
std::optional<int> ComPortNumber(const std::string& name);

// The device a port name opens. Windows: "\\.\COMn". Linux: the "comN" link when the folder has
// one, otherwise the conventional device (COM1-4 /dev/ttyS0-3, COM5-10 /dev/ttyUSB0-5, COM11-15
// /dev/ttyACM0-4). Any other text is taken as a device path as it stands.
std::filesystem::path SerialDevicePath(const std::string& name);

// The file a name (UTF-8) means. Windows: the name as it stands. Linux: "X:\a\b.inf" through the
// link "x:" to "<target>/a/b.inf" (either drive case, either slash; ".." stops at the drive's root);
// POSIX paths pass unchanged. Nothing when the drive has no link or its link leads to no folder
// (the drive is unreachable).
//
// This is the path a name means that the user typed or a dialog returned: every file the program
// opens or writes under such a name (read-outs, reports, exports, pictures, traces) is found here.
std::optional<std::filesystem::path> ResolveWindowsPath(const std::string& name);

// Why a name for which ResolveWindowsPath gives nothing cannot be written.
inline constexpr const char* kUnreachableDriveText = "its drive cannot be reached";

} // namespace lexorant
