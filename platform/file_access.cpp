#include "platform/file_access.h"

#include "platform/posix_io.h"

#include <fcntl.h>
#include <unistd.h>

namespace lexorant {

bool MayWrite(const std::filesystem::path& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// O_NONBLOCK: a named pipe without a reader fails at once instead of waiting for one.
bool WriteInPlace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, bool create) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | (create ? O_CREAT : 0),
                          0666);
    if (fd < 0)
        return false;
    const int flags = ::fcntl(fd, F_GETFL);
    const bool ok = flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && posix::WriteAll(fd, bytes);
    return ::close(fd) == 0 && ok;
}

} // namespace lexorant
