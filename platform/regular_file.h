#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace lexorant {

// The regular file at path (through links), open for reading. Anything else does not open: missing,
// no access, or a named pipe, device, directory or socket. Never waits for a writer or a device.
class RegularFileReader {
public:
    explicit RegularFileReader(const std::filesystem::path& path);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    bool IsOpen() const { return handle_ != -1; }

    // Reads size bytes, or fewer at the end of the file, into out; false on a read error.
    bool ReadUpTo(std::uint8_t* out, std::size_t size, std::size_t& got);

private:
    std::intptr_t handle_ = -1; // a descriptor (POSIX) or a HANDLE (Win32)
};

} // namespace lexorant
