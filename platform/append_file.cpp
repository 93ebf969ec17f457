#include "platform/append_file.h"

#include "platform/posix_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    // Only a regular file under this very name: a link is not followed (its target would be cut and
    // written), and a named pipe or a device must not keep the open waiting.
    const int fd = ::open(
        path.c_str(),
        O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0), 0666);
    if (fd < 0) {
        error = errno == ELOOP   ? "a link is there"
                : errno == ENXIO ? "no regular file is there"
                                 : std::strerror(errno);
        return false;
    }
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = "no regular file is there";
        ::close(fd);
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
