#include "platform/temporary_file.h"
#include "platform/this_process.h"

#include "platform/posix_io.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lexorant {

namespace fs = std::filesystem;

namespace posix {

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

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace posix

std::string ThisHost() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

bool ProcessIsGone(long pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

namespace {

// Mode 0666 lets the kernel apply the umask, as for any newly created file (mkstemp would give 0600).
// The name carries the host, the process, a counter and the time: several laptops write into one folder.
int OpenUniqueTemporary(const fs::path& folder, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const auto salt =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / (TemporaryNamePrefix(::getpid()) + std::to_string(counter++) + "-" +
                              std::to_string(salt % 1000000007ULL) + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool Unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP || error == EPERM;
}

bool HasSecondName(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_nlink >= 2;
}

// The last resort where the file system has neither a no-replace rename nor hard links: the name is
// still claimed exclusively, but the file is written under it; a failure removes it again.
Claim CreateExclusive(const fs::path& name, std::span<const std::uint8_t> bytes) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? Claim::Taken : Claim::Failed;
    bool ok = posix::WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(name.c_str());
        return Claim::Failed;
    }
    return Claim::Claimed;
}

} // namespace

TemporaryFile::TemporaryFile(const fs::path& folder, std::span<const std::uint8_t> bytes,
                             std::optional<unsigned> permissions)
    : folder_(folder.empty() ? fs::path(".") : folder), bytes_(bytes) {
    RemoveStaleTemporaries(folder_);
    const int fd = OpenUniqueTemporary(folder_, path_);
    if (fd < 0) {
        path_.clear();
        return;
    }
    bool ok = posix::WriteAll(fd, bytes);
    if (ok && permissions)
        ok = ::fchmod(fd, static_cast<mode_t>(*permissions)) == 0;
    ok = ok && ::fsync(fd) == 0;
    ready_ = ::close(fd) == 0 && ok;
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty() && !placed_)
        ::unlink(path_.c_str());
}

bool TemporaryFile::ReplaceAs(const fs::path& target) {
    if (!ready_ || placed_ || ::rename(path_.c_str(), target.c_str()) != 0)
        return false;
    placed_ = true;
    posix::SyncFolder(folder_);
    return true;
}

Claim TemporaryFile::ClaimAs(const fs::path& name) {
    if (!ready_ || placed_)
        return Claim::Failed;
    const auto claimed = [this] {
        placed_ = true;
        posix::SyncFolder(folder_);
        return Claim::Claimed;
    };
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0)
        return claimed();
    if (errno == EEXIST)
        return Claim::Taken;
    if (!Unsupported(errno))
        return Claim::Failed;
    // Some network file systems (NFS) know no flags on rename; a hard link claims the name as
    // atomically. NFS may report a link that a retried request made as failed: the temporary's
    // link count tells the truth.
    const int linked = ::link(path_.c_str(), name.c_str());
    const int linkError = errno;
    if (linked == 0 || HasSecondName(path_)) {
        ::unlink(path_.c_str());
        return claimed();
    }
    if (linkError == EEXIST)
        return Claim::Taken;
    if (!Unsupported(linkError))
        return Claim::Failed;
    const Claim claim = CreateExclusive(name, bytes_);
    if (claim == Claim::Claimed)
        posix::SyncFolder(folder_);
    return claim;
}

} // namespace lexorant
