#include "platform/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexorant {

namespace {

int OpenRegularFile(const std::filesystem::path& path) {
    // Without O_NONBLOCK, opening a named pipe waits for a writer, and a serial device for its line.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

RegularFileReader::RegularFileReader(const std::filesystem::path& path) : handle_(OpenRegularFile(path)) {}

RegularFileReader::~RegularFileReader() {
    if (handle_ != -1)
        ::close(static_cast<int>(handle_));
}

bool RegularFileReader::ReadUpTo(std::uint8_t* out, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const ssize_t n = ::read(static_cast<int>(handle_), out + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace lexorant
