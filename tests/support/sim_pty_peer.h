#pragma once
// The far end of a pseudo-terminal for the serial device's tests: sends raw bytes, takes what
// arrives, and hangs up on demand. The protocol-aware controller is lexorant_simulator.
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

namespace lexorant::test {

class SimPtyPeer {
public:
    SimPtyPeer() {
        fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0 ||
            ::ptsname_r(fd_, name, sizeof name) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slavePath_ = name;
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    ~SimPtyPeer() { HangUp(); }
    SimPtyPeer(const SimPtyPeer&) = delete;
    SimPtyPeer& operator=(const SimPtyPeer&) = delete;

    const std::string& SlavePath() const { return slavePath_; }

    void Send(std::string_view bytes) {
        if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("pseudo-terminal write failed");
    }

    // What has arrived from the device side, waiting up to wait for the first byte (long by
    // default: the device is written by a thread of its own, which a busy machine may hold back).
    std::string Receive(std::chrono::milliseconds wait = std::chrono::milliseconds(5000)) {
        std::string received;
        pollfd p{fd_, POLLIN, 0};
        int timeout = static_cast<int>(wait.count());
        while (::poll(&p, 1, timeout) > 0 && (p.revents & POLLIN) != 0) {
            char buffer[256];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(n));
            timeout = 20;
        }
        return received;
    }

    // Closes the master side: whoever holds the device sees the line hang up.
    void HangUp() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    std::string slavePath_;
};

} // namespace lexorant::test
