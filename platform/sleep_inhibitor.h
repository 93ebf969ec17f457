#pragma once
// Keeps the machine from going to sleep while a read runs: a laptop that sleeps loses its USB adapter,
// and with it the read. Linux: a "sleep" and "idle" inhibitor lock of systemd-logind, taken over the
// system D-Bus; Windows: SetThreadExecutionState for the thread that holds it. Released however the
// holder ends.
#include <cstdint>
#include <string>

namespace lexorant {

class SleepInhibitor {
public:
    // why: what the system shows to whoever asks what keeps the machine awake. Waits at most about
    // two seconds for the system's answer. On Windows, construct and destroy it on one thread.
    explicit SleepInhibitor(const std::string& why);
    ~SleepInhibitor();
    SleepInhibitor(const SleepInhibitor&) = delete;
    SleepInhibitor& operator=(const SleepInhibitor&) = delete;

    // False when the system would not give the lock (no system bus, no logind): whatever needed it
    // goes on all the same; Failure() says why.
    bool Held() const { return handle_ != -1; }
    const std::string& Failure() const { return failure_; }

private:
    std::intptr_t handle_ = -1; // the lock's descriptor (Linux), 1 while set (Windows)
    std::string failure_;
};

} // namespace lexorant
