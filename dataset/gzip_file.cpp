#include "dataset/gzip_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

namespace lexorant {

namespace {

constexpr std::size_t kOutChunk = 256 * 1024;
constexpr std::string_view kTemporarySuffix = ".tmp";

} // namespace

GzipFile::GzipFile(std::filesystem::path target) : target_(std::move(target)), out_(kOutChunk) {
    temporary_ = target_.parent_path() / ("." + target_.filename().string() + "." +
                                          std::to_string(::getpid()) + std::string(kTemporarySuffix));
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        Fail("cannot create " + temporary_.string());
        return;
    }
    stream_ = new z_stream{};
    // Fastest level: the tables repeat themselves so much that it still packs them several times over.
    if (deflateInit2(stream_, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        delete stream_;
        stream_ = nullptr;
        Fail("zlib could not start");
    }
}

GzipFile::~GzipFile() {
    if (stream_ != nullptr) {
        deflateEnd(stream_);
        delete stream_;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
    }
}

bool GzipFile::Fail(const std::string& what) {
    if (error_.empty())
        error_ = what + (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string());
    return false;
}

bool GzipFile::Deflate(int flush) {
    int result = Z_OK;
    do {
        stream_->next_out = out_.data();
        stream_->avail_out = static_cast<uInt>(out_.size());
        result = deflate(stream_, flush);
        if (result == Z_STREAM_ERROR)
            return Fail("zlib failed");
        const std::size_t have = out_.size() - stream_->avail_out;
        for (std::size_t done = 0; done < have;) {
            errno = 0;
            const ssize_t n = ::write(fd_, out_.data() + done, have - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return Fail("cannot write " + temporary_.string());
            done += static_cast<std::size_t>(n);
        }
    } while (stream_->avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    return true;
}

bool GzipFile::Write(std::string_view text) {
    if (!error_.empty())
        return false;
    stream_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream_->avail_in = static_cast<uInt>(text.size());
    return Deflate(Z_NO_FLUSH);
}

bool GzipFile::Commit() {
    if (!error_.empty() || !Deflate(Z_FINISH))
        return false;
    errno = 0;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        ::unlink(temporary_.c_str());
        return Fail("cannot write " + temporary_.string());
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        ::unlink(temporary_.c_str());
        return Fail("cannot rename into " + target_.string());
    }
    return true;
}

bool IsWriterTemporary(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.size() > kTemporarySuffix.size() && name[0] == '.' && name.ends_with(kTemporarySuffix);
}

} // namespace lexorant
