#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

namespace lexorant {

// Puts bytes into the file at path; true only when every byte reached it and it was flushed and
// closed. A regular file is replaced whole through a temporary file in its folder, so a failure
// leaves the earlier content intact; a write-protected one is refused. Anything else that exists
// under the name (a device, possibly behind a symlink) is written directly.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace lexorant
