#include "link/read_estimate.h"

#include <algorithm>
#include <cstdio>

namespace lexorant {

int ReadEstimate::Finished() const {
    return std::min(total_, kept_ + asked_);
}

std::optional<std::chrono::seconds> ReadEstimate::Left(Clock::time_point now) const {
    const int finished = Finished();
    if (asked_ == 0 || finished >= total_)
        return std::nullopt;
    return std::chrono::duration_cast<std::chrono::seconds>((now - start_) * (total_ - finished) / asked_);
}

std::string TimeLeftText(std::chrono::seconds left) {
    const long long s = left.count();
    char buffer[48];
    if (s >= 3600)
        std::snprintf(buffer, sizeof buffer, "about %lld:%02lld:%02lld left", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(buffer, sizeof buffer, "about %lld:%02lld left", s / 60, s % 60);
    return buffer;
}

} // namespace lexorant
