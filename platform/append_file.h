#pragma once
// A file that grows by records appended at its end and is made durable from time to time: written
// bytes survive the process being killed at once, synced ones a power cut as well.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace lexorant {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Creates the file empty (replacing what is there), or opens an existing one keeping only its
    // first keep bytes. The file is this object's alone until closed: a file that another one holds
    // is not touched. False, with the reason in error, when it cannot be had.
    bool Create(const std::filesystem::path& path, std::string& error);
    bool OpenKeeping(const std::filesystem::path& path, std::uint64_t keep, std::string& error);
    bool IsOpen() const { return handle_ != -1; }

    // Writes every byte at the end; false on any failure (disk full, ...).
    bool Append(std::span<const std::uint8_t> bytes);
    // Puts what was appended on the disk. May run on another thread while Append runs.
    bool Sync();
    void Close();

private:
#ifndef _WIN32
    bool OpenKeeping(const std::filesystem::path& path, std::uint64_t keep, bool create, std::string& error);
#endif
    std::intptr_t handle_ = -1; // a descriptor (POSIX) or a HANDLE (Win32)
};

} // namespace lexorant
