#include "platform/write_stream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace lexorant {

std::FILE* OpenWriteStream(const std::filesystem::path& path, std::string& error) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        error = errno == ENXIO ? "a pipe without a reader" : std::strerror(errno);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* out = ::fdopen(fd, "w");
    if (!out) {
        error = std::strerror(errno);
        ::close(fd);
    }
    return out;
}

} // namespace lexorant
