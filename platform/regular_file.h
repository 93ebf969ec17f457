#pragma once
#include <filesystem>

namespace lexorant {

// A descriptor for reading the regular file at path (through links), -1 for anything else: missing,
// no access, or a named pipe, device, directory or socket. Never waits for a writer or a device.
int OpenRegularFileForReading(const std::filesystem::path& path);

} // namespace lexorant
