#include "platform/append_file.h"

#include "platform/posix_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lexorant {

namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

} // namespace

AppendFile::~AppendFile() { Close(); }

bool AppendFile::Create(const std::filesystem::path& path, std::string& error) {
    if (!OpenKeeping(path, 0, true, error))
        return false;
    // The new name must survive a power cut as well as the bytes behind it.
    posix::SyncFolder(path.parent_path());
    return true;
}

bool AppendFile::OpenKeeping(const std::filesystem::path& path, std::uint64_t keep, std::string& error) {
    return OpenKeeping(path, keep, false, error);
}

bool AppendFile::OpenKeeping(const std::filesystem::path& path, std::uint64_t keep, bool create, std::string& error) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | (create ? O_CREAT : 0), 0666);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // Cut only once the file is this writer's alone: another process may be appending to it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK ? "in use by another read" : std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (::ftruncate(fd, static_cast<off_t>(keep)) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

bool AppendFile::Append(std::span<const std::uint8_t> bytes) {
    return handle_ != -1 && posix::WriteAll(Fd(handle_), bytes);
}

bool AppendFile::Sync() { return handle_ != -1 && ::fdatasync(Fd(handle_)) == 0; }

void AppendFile::Close() {
    if (handle_ == -1)
        return;
    ::close(Fd(handle_));
    handle_ = -1;
}

} // namespace lexorant
