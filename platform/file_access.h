#pragma once
// What writing a file in place needs of the system: whether an existing file may be written, and
// writing into whatever a name stands for (a device, or the file a dangling link names).
#include <cstdint>
#include <filesystem>
#include <span>

namespace lexorant {

// True when this process may write the existing file at path.
bool MayWrite(const std::filesystem::path& path);

// Writes bytes into what is at path, truncating it, and creating it when create is set. Never waits
// for a reader (a named pipe without one fails at once). True when every byte got there and the
// file closed cleanly.
bool WriteInPlace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, bool create);

} // namespace lexorant
