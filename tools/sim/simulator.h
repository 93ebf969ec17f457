#pragma once
// A controller on a pseudo-terminal: the program opens the slave side as its serial port, the
// simulator answers on the master side from a thread of its own until stopped.
#include "tools/sim/behaviour.h"
#include "tools/sim/unit.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lexorant::sim {

class Simulator {
public:
    explicit Simulator(SimUnit unit, Behaviour behaviour = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Appends every request line to the file at path as it arrives, without its CR LF, one line
    // each, written at once. Before Start; false, with the reason in error, when it cannot be written.
    bool LogRequestsTo(const std::string& path, std::string& error);
    // Opens the pseudo-terminal and starts answering. False, with the reason in error, when no
    // pseudo-terminal could be had or the simulator was started before.
    bool Start(std::string& error);
    // The device that the program opens, such as "/dev/pts/3"; empty before Start.
    const std::string& SlavePath() const { return slavePath_; }
    // Stops answering and closes the master side: the line hangs up for whoever holds it.
    void Stop();

    const SimUnit& Unit() const { return unit_; }
    // Every complete request line received so far, CR LF included, in order of arrival.
    std::vector<std::string> Requests() const;
    // False when fewer than count lines have arrived within the time-out.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    void Run();
    bool AnswerCompleteLines(std::string& pending);
    bool Answer(const std::string& line);
    bool SleepUnlessStopped(std::chrono::milliseconds duration) const;
    int LineRate() const;

    const SimUnit unit_;
    const Behaviour behaviour_;
    std::string slavePath_;
    int masterFd_ = -1;
    int wakeFd_ = -1;
    int logFd_ = -1;
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<std::string> requests_;
};

} // namespace lexorant::sim
