#include "platform/serial_device.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace lexorant {

namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

speed_t SpeedOf(int bitRate) {
    switch (bitRate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

timespec ToTimespec(std::chrono::nanoseconds d) {
    if (d < std::chrono::nanoseconds::zero())
        d = std::chrono::nanoseconds::zero();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(d).count());
    ts.tv_nsec = static_cast<long>((d - std::chrono::seconds(ts.tv_sec)).count());
    return ts;
}

bool Cancelled(int cancelFd) {
    pollfd p{cancelFd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

} // namespace

SerialDevice::SerialDevice() : cancel_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SerialDevice::~SerialDevice() {
    Close();
    if (cancel_ >= 0)
        ::close(static_cast<int>(cancel_));
}

SerialDevice::OpenResult SerialDevice::Open(const std::filesystem::path& path, int bitRate) {
    Close();
    // Non-blocking, so that a line without carrier cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OpenResult::Unavailable;
    // flock holds even against root, which TIOCEXCL does not.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return OpenResult::Unavailable;
    }
    ::ioctl(fd, TIOCEXCL); // refuses further opens by others; not a tty says ENOTTY, harmless here
    handle_ = fd;

    termios tio{};
    if (::tcgetattr(Fd(handle_), &tio) != 0)
        return OpenResult::NoLineSettings;

    const speed_t speed = SpeedOf(bitRate);
    if (speed == B0)
        return OpenResult::Rejected;
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    // VMIN 1: an empty non-blocking read then says EAGAIN. With VMIN 0 it returns 0, which
    // cannot be told from the far end hanging up and would end every exchange at once.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0)
        return OpenResult::Rejected;
    if (::tcsetattr(Fd(handle_), TCSANOW, &tio) != 0)
        return OpenResult::Rejected;

    // DTR and RTS inactive; a pseudo-terminal has no modem lines and says ENOTTY or EINVAL.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(Fd(handle_), TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
        return OpenResult::Rejected;
    return OpenResult::Opened;
}

bool SerialDevice::Close() {
    if (handle_ < 0)
        return true;
    // On a pseudo-terminal the exclusive flag would outlive the close and lock others out.
    ::ioctl(Fd(handle_), TIOCNXCL);
    const bool ok = ::close(Fd(handle_)) == 0;
    handle_ = kNone;
    return ok;
}

int SerialDevice::WriteAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(Fd(handle_), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return errno;
        pollfd fds[2] = {{Fd(handle_), POLLOUT, 0}, {Fd(cancel_), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return errno;
        if (fds[1].revents != 0)
            return ECANCELED;
        if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            return EIO;
    }
    return 0;
}

Exchanged SerialDevice::Exchange(const std::string& request, std::size_t limit,
                                 std::chrono::milliseconds timeout) {
    Exchanged result;
    result.timeout = timeout;
    if (handle_ < 0)
        return result;
    if (Cancelled(Fd(cancel_))) {
        result.end = ExchangeEnd::Cancelled;
        return result;
    }
    if (const int error = WriteAll(request); error != 0) {
        result.end = error == ECANCELED ? ExchangeEnd::Cancelled : ExchangeEnd::WriteFailed;
        result.error = error == ECANCELED ? 0 : error;
        return result;
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    std::string& received = result.answer;
    received.reserve(limit);
    char buffer[256];
    result.end = ExchangeEnd::CountReached;
    while (received.size() < limit) {
        const std::size_t want = std::min(sizeof buffer, limit - received.size());
        const ssize_t n = ::read(Fd(handle_), buffer, want);
        if (n > 0) {
            received.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n == 0) {
            result.end = ExchangeEnd::HungUp; // the far end has closed: retrying would spin
            break;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN) {
            result.end = ExchangeEnd::HungUp; // EIO once a pseudo-terminal's master has gone
            result.error = errno;
            break;
        }

        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) {
            result.end = ExchangeEnd::TimedOut;
            break;
        }
        pollfd fds[2] = {{Fd(handle_), POLLIN, 0}, {Fd(cancel_), POLLIN, 0}};
        const timespec ts = ToTimespec(left);
        const int r = ::ppoll(fds, 2, &ts, nullptr);
        if (r < 0 && errno != EINTR) {
            result.end = ExchangeEnd::HungUp;
            result.error = errno;
            break;
        }
        if (fds[1].revents != 0) {
            result.end = ExchangeEnd::Cancelled;
            break;
        }
        if ((fds[0].revents & (POLLNVAL | POLLERR)) != 0 ||
            ((fds[0].revents & POLLHUP) != 0 && (fds[0].revents & POLLIN) == 0)) {
            result.end = ExchangeEnd::HungUp;
            break;
        }
    }
    return result;
}

void SerialDevice::Cancel() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(Fd(cancel_), &one, sizeof one);
}

void SerialDevice::ResetCancel() {
    std::uint64_t value = 0;
    [[maybe_unused]] const ssize_t n = ::read(Fd(cancel_), &value, sizeof value);
}

} // namespace lexorant
