#include "tools/sim/simulator.h"

#include "tools/sim/answers.h"
#include "tools/sim/paced_writer.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace lexorant::sim {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// How often to look again for a program while nobody has the line open.
constexpr std::chrono::milliseconds kIdleRetry{20};
// Junk without a line end is dropped beyond this, keeping its last byte (maybe the CR of one).
constexpr std::size_t kMaxLine = 4096;

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

Simulator::Simulator(SimUnit unit, Behaviour behaviour)
    : unit_(std::move(unit)), behaviour_(std::move(behaviour)) {}

Simulator::~Simulator() {
    Stop();
}

bool Simulator::LogRequestsTo(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = Failure(path.c_str());
        return false;
    }
    if (logFd_ >= 0)
        ::close(logFd_);
    logFd_ = fd;
    return true;
}

bool Simulator::Start(std::string& error) {
    if (masterFd_ >= 0) {
        error = "the simulator is running already";
        return false;
    }
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = Failure("posix_openpt");
        return false;
    }
    char name[128];
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || ::ptsname_r(fd, name, sizeof name) != 0) {
        error = Failure("pseudo-terminal set-up");
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    // The line settings of the master apply to the slave: raw from the start, so that nothing
    // echoes or translates line ends before the program has set the line up itself.
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        error = Failure("eventfd");
        ::close(fd);
        return false;
    }
    masterFd_ = fd;
    slavePath_ = name;
    thread_ = std::thread(&Simulator::Run, this);
    return true;
}

void Simulator::Stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    for (int* fd : {&masterFd_, &wakeFd_, &logFd_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

std::vector<std::string> Simulator::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool Simulator::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

// The rate the program set on its end of the line: a pseudo-terminal's master reads the settings of
// its slave.
int Simulator::LineRate() const {
    termios tio{};
    if (::tcgetattr(masterFd_, &tio) != 0)
        return 0;
    switch (::cfgetospeed(&tio)) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    default: return 0;
    }
}

bool Simulator::SleepUnlessStopped(std::chrono::milliseconds duration) const {
    pollfd wake{wakeFd_, POLLIN, 0};
    return ::poll(&wake, 1, static_cast<int>(duration.count())) <= 0;
}

void Simulator::Run() {
    std::string pending;
    char buffer[256];
    for (;;) {
        pollfd fds[2] = {{masterFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
        if (n > 0) {
            pending.append(buffer, static_cast<std::size_t>(n));
            if (!AnswerCompleteLines(pending))
                return;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        // EIO: nobody has the line open, and the master reports a hang-up until somebody does.
        // A request cut short by the close is void.
        pending.clear();
        if (!SleepUnlessStopped(kIdleRetry))
            return;
    }
}

bool Simulator::AnswerCompleteLines(std::string& pending) {
    for (auto end = pending.find(kLineEnd); end != std::string::npos; end = pending.find(kLineEnd)) {
        const std::string line = pending.substr(0, end + kLineEnd.size());
        pending.erase(0, line.size());
        if (!Answer(line))
            return false;
    }
    if (pending.size() > kMaxLine)
        pending.erase(0, pending.size() - 1);
    return true;
}

bool Simulator::Answer(const std::string& line) {
    std::size_t number = 0;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(line);
        number = requests_.size();
    }
    arrived_.notify_all();
    if (logFd_ >= 0) {
        // One write per line, so that a reader polling the file never sees half a request.
        const std::string logged = line.substr(0, line.size() - kLineEnd.size()) + "\n";
        [[maybe_unused]] const ssize_t n = ::write(logFd_, logged.data(), logged.size());
    }
    if (behaviour_.hangUpAfter && number > *behaviour_.hangUpAfter) {
        ::close(masterFd_);
        masterFd_ = -1;
        return false;
    }
    const std::size_t silentUntil = behaviour_.stopAfter ? *behaviour_.stopAfter + behaviour_.silentFor : 0;
    if (behaviour_.stopAfter && number > *behaviour_.stopAfter && (behaviour_.silentFor == 0 || number <= silentUntil))
        return true;
    if (behaviour_.lineRate != 0 && LineRate() != behaviour_.lineRate)
        return true;
    const auto answer = AnswerRequest(unit_, behaviour_, line);
    if (!answer)
        return true;
    if (behaviour_.delay.count() > 0 && !SleepUnlessStopped(behaviour_.delay))
        return false;
    // A failed send means the program has closed the line or we are stopping; the loop tells which.
    SendAnswer(masterFd_, *answer, behaviour_.baud, wakeFd_);
    return true;
}

} // namespace lexorant::sim
