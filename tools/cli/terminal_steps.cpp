#include "tools/cli/terminal_steps.h"

#include "readout/entry_set.h"

#include <string>

namespace lexorant::cli {

TerminalSteps::TerminalSteps(std::FILE* out, bool live, int totalEntries)
    : out_(out), live_(live), total_(totalEntries) {}

namespace {

// "12:05" below an hour, "2:20:00" from one on.
std::string Duration(std::chrono::seconds left) {
    const long long s = left.count();
    char buffer[32];
    if (s >= 3600)
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld", s / 60, s % 60);
    return buffer;
}

} // namespace

void TerminalSteps::ShowKeptEntries(const EntrySet& in) { kept_ = static_cast<int>(in.Count()); }

void TerminalSteps::ShowStatus(const std::string& text) {
    if (!live_) {
        std::fprintf(out_, "%s\n", text.c_str());
        return;
    }
    const int asked = done_ + failed_;
    const int finished = kept_ + asked;
    std::string estimate;
    if (asked > 0 && total_ > finished) {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        estimate = ", about " +
                   Duration(std::chrono::duration_cast<std::chrono::seconds>(elapsed * (total_ - finished) / asked)) +
                   " left";
    }
    std::fprintf(out_, "\r\033[K%s  [%d of %d entries%s]", text.c_str(), finished, total_, estimate.c_str());
    std::fflush(out_);
    liveLineOpen_ = true;
}

void TerminalSteps::ShowError(const std::string& text) {
    ++failed_;
    EndLiveLine();
    std::fprintf(out_, "%s\n", text.c_str());
}

void TerminalSteps::EndLiveLine() {
    if (liveLineOpen_)
        std::fputc('\n', out_);
    liveLineOpen_ = false;
}

} // namespace lexorant::cli
