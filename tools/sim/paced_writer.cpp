#include "tools/sim/paced_writer.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <time.h>
#include <unistd.h>

namespace lexorant::sim {

namespace {

constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

timespec AddNanos(timespec t, std::int64_t nanos) {
    const std::int64_t total = t.tv_nsec + nanos;
    t.tv_sec += static_cast<time_t>(total / kNanosPerSecond);
    t.tv_nsec = static_cast<long>(total % kNanosPerSecond);
    return t;
}

bool Woken(int wakeFd) {
    pollfd p{wakeFd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

// Writes all of bytes; waits for room when the far end's input is full.
bool WriteAll(int fd, const char* bytes, std::size_t n, int wakeFd) {
    while (n > 0) {
        const ssize_t written = ::write(fd, bytes, n);
        if (written > 0) {
            bytes += written;
            n -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return false; // EIO: nobody has the line open any more
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents != 0 || (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            return false;
    }
    return true;
}

} // namespace

bool SendAnswer(int fd, std::string_view bytes, int baud, int wakeFd) {
    if (baud <= 0)
        return WriteAll(fd, bytes.data(), bytes.size(), wakeFd);
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    const std::int64_t nanosPerByte = 10 * kNanosPerSecond / baud;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const timespec due = AddNanos(start, static_cast<std::int64_t>(i) * nanosPerByte);
        while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
        }
        if (Woken(wakeFd) || !WriteAll(fd, bytes.data() + i, 1, wakeFd))
            return false;
    }
    return true;
}

} // namespace lexorant::sim
