#pragma once
// Shared pieces of the measuring programs: clocks, a scratch device folder, line times and the
// "key=value" lines that bench/run collects.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <time.h>

namespace lexorant::bench {

// CLOCK_MONOTONIC in nanoseconds: one clock for every process of the machine, so that a parent
// can hand its reading to a child it starts.
inline long long MonotonicNanos() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

inline double MillisSince(long long startNanos) { return static_cast<double>(MonotonicNanos() - startNanos) / 1e6; }

// Resident memory of this process in kB (VmRSS of /proc/self/status).
inline long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        std::string rest;
        std::getline(status, rest);
    }
    return -1;
}

// One result line for bench/run: "name=value".
inline void Report(const char* name, double value) {
    std::printf("%s=%.3f\n", name, value);
    std::fflush(stdout);
}

// A fresh folder that serves as XDG_CONFIG_HOME (and holds XDG_STATE_HOME), so that "comN" and "o:"
// links made here reach only the program under measurement, and its kept read-outs stay here.
// Removed on destruction.
class ScratchConfig {
public:
    ScratchConfig() {
        char pattern[] = "/tmp/lexorant-bench-XXXXXX";
        if (char* made = ::mkdtemp(pattern))
            root_ = made;
        ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
        ::setenv("XDG_STATE_HOME", (root_ / "state").c_str(), 1);
        std::filesystem::create_directories(DeviceFolder());
        std::filesystem::create_directories(root_ / "o-drive");
        std::filesystem::create_symlink(root_ / "o-drive", DeviceFolder() / "o:");
    }
    ~ScratchConfig() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchConfig(const ScratchConfig&) = delete;
    ScratchConfig& operator=(const ScratchConfig&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path DeviceFolder() const { return root_ / "brenno-lexorant" / "dosdevices"; }

private:
    std::filesystem::path root_;
};

// Bytes on the line for the entry phase of a read of gCount and xCount entries: every request
// ("GI@ n\r\n", 6 + digits) and every answer (36 and 196 characters).
struct LineBytes {
    long long requests = 0;
    long long answers = 0;
    long long answerGaps = 0; // the simulator sends byte i of an answer at i byte times: n - 1 each
};

inline LineBytes EntryPhaseBytes(int gCount, int xCount) {
    LineBytes bytes;
    for (int i = 0; i < gCount; ++i) {
        bytes.requests += 6 + static_cast<long long>(std::to_string(i).size());
        bytes.answers += 36;
        bytes.answerGaps += 35;
    }
    for (int i = 0; i < xCount; ++i) {
        bytes.requests += 6 + static_cast<long long>(std::to_string(i).size());
        bytes.answers += 196;
        bytes.answerGaps += 195;
    }
    return bytes;
}

inline double LineMillis(long long bytes, int baud) { return static_cast<double>(bytes) * 10.0 * 1000.0 / baud; }

} // namespace lexorant::bench
