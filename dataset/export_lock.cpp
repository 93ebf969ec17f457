#include "dataset/export_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lexorant {

ExportLock::ExportLock(const std::filesystem::path& dir) {
    const auto path = dir / ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        refusal_ = "cannot create " + path.string() + ": " + std::strerror(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
            char pid[32] = {};
            const ssize_t n = ::pread(fd, pid, sizeof pid - 1, 0);
            std::string holder(pid, n > 0 ? static_cast<std::size_t>(n) : 0);
            while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' '))
                holder.pop_back();
            refusal_ = "another export is writing into " + dir.string() +
                       (holder.empty() ? std::string() : " (process " + holder + ")") +
                       "; nothing was changed";
        } else {
            refusal_ = "cannot lock " + path.string() + ": " + std::strerror(error);
        }
        ::close(fd);
        return;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        refusal_ = "cannot write " + path.string() + ": " + std::strerror(errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
}

ExportLock::~ExportLock() {
    if (fd_ < 0)
        return;
    // Emptied, not removed: removing it would let a third export lock a new file beside a waiting second.
    if (::ftruncate(fd_, 0) != 0) {
    }
    ::close(fd_);
}

} // namespace lexorant
