#pragma once
// How far a read has got and how long it will still take, from the pace of the entries asked so
// far (entries kept from an earlier read count as done and cost no time).
#include <chrono>
#include <optional>
#include <string>

namespace lexorant {

class ReadEstimate {
public:
    using Clock = std::chrono::steady_clock;

    explicit ReadEstimate(int totalEntries, Clock::time_point start = Clock::now())
        : total_(totalEntries), start_(start) {}

    void Kept(int entries) { kept_ = entries; }
    // One more entry asked, whether it came good or failed.
    void Asked() { ++asked_; }

    int Total() const { return total_; }
    // Kept and asked, at most the total (a retried entry is asked twice).
    int Finished() const;
    // Nothing until an entry has been asked, and once none is left.
    std::optional<std::chrono::seconds> Left(Clock::time_point now = Clock::now()) const;

private:
    int total_;
    Clock::time_point start_;
    int kept_ = 0;
    int asked_ = 0;
};

// "about 12:05 left" below an hour, "about 2:20:00 left" from one on.
std::string TimeLeftText(std::chrono::seconds left);

} // namespace lexorant
