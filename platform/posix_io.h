#pragma once
// Helpers of the POSIX file primitives.
#include <cstdint>
#include <filesystem>
#include <span>

namespace lexorant::posix {

// Writes every byte, going on after interruptions; false on any failure.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes);

// Makes a change of the folder's names durable. The content is already safe when this runs, so a
// failure here is not one of the write.
void SyncFolder(const std::filesystem::path& folder);

} // namespace lexorant::posix
