#include "replace_file.h"

#include "posix_io.h"
#include "temporary_file.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

bool ReplaceThroughTemporary(const fs::path& target, std::span<const std::uint8_t> bytes,
                             std::optional<unsigned> keepMode) {
    TemporaryFile file(target.parent_path(), bytes, keepMode);
    return file.Ready() && file.ReplaceAs(target);
}

// O_NONBLOCK: a named pipe without a reader fails at once instead of waiting for one.
bool WriteInPlace(const fs::path& target, std::span<const std::uint8_t> bytes, int extraFlags) {
    const int fd =
        ::open(target.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | extraFlags, 0666);
    if (fd < 0)
        return false;
    const int flags = ::fcntl(fd, F_GETFL);
    const bool ok = flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && posix::WriteAll(fd, bytes);
    return ::close(fd) == 0 && ok;
}

} // namespace

bool WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        // A device (e.g. a link to /dev/full) must stay what it is: replacing it would put a plain
        // file where the link was.
        if (!S_ISREG(st.st_mode))
            return WriteInPlace(path, bytes, 0);
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
            return false;
        // Through a symlink, the file it names is replaced, not the link.
        std::error_code ec;
        const fs::path real = fs::canonical(path, ec);
        if (ec)
            return false;
        return ReplaceThroughTemporary(real, bytes, static_cast<unsigned>(st.st_mode & 07777));
    }
    if (errno != ENOENT)
        return false;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0)
        return WriteInPlace(path, bytes, O_CREAT); // a dangling link: create what it names
    return ReplaceThroughTemporary(path, bytes, std::nullopt);
}

} // namespace lexorant
