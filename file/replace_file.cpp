#include "replace_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Mode 0666 lets the kernel apply the umask, as for any newly created file (mkstemp would give 0600).
int OpenUniqueTemporary(const fs::path& folder, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const auto salt =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / (".lexorant-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                              "-" + std::to_string(salt % 1000000007ULL) + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void SyncFolder(const fs::path& folder) {
    // Makes the rename itself durable; the new content is already safe, so a failure here is not one
    // of the write.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool ReplaceThroughTemporary(const fs::path& target, std::span<const std::uint8_t> bytes,
                             std::optional<mode_t> keepMode) {
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    fs::path temporary;
    const int fd = OpenUniqueTemporary(folder, temporary);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes);
    if (ok && keepMode)
        ok = ::fchmod(fd, *keepMode) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool WriteInPlace(const fs::path& target, std::span<const std::uint8_t> bytes, int extraFlags) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC | extraFlags, 0666);
    if (fd < 0)
        return false;
    const bool ok = WriteAll(fd, bytes);
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
        return ReplaceThroughTemporary(real, bytes, st.st_mode & 07777);
    }
    if (errno != ENOENT)
        return false;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0)
        return WriteInPlace(path, bytes, O_CREAT); // a dangling link: create what it names
    return ReplaceThroughTemporary(path, bytes, std::nullopt);
}

} // namespace lexorant
