#pragma once
// One export at a time into a dataset folder: an advisory lock on DIR/.lock, which holds the process id
// of its holder. The kernel lets the lock go when the holder ends, however it ends, so the lock of a
// killed export is taken over by the next.
#include <filesystem>
#include <string>

namespace lexorant {

class ExportLock {
public:
    explicit ExportLock(const std::filesystem::path& dir);
    ~ExportLock();
    ExportLock(const ExportLock&) = delete;
    ExportLock& operator=(const ExportLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // Why it is not held: another export (with its process id where known) or the lock file's error.
    const std::string& Refusal() const { return refusal_; }

private:
    int fd_ = -1;
    std::string refusal_;
};

} // namespace lexorant
