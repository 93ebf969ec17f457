#include "tools/cli/terminal_steps.h"

namespace lexorant::cli {

TerminalSteps::TerminalSteps(std::FILE* out, bool live, int totalEntries)
    : out_(out), live_(live), total_(totalEntries) {}

void TerminalSteps::ShowStatus(const std::string& text) {
    if (!live_) {
        std::fprintf(out_, "%s\n", text.c_str());
        return;
    }
    const int finished = done_ + failed_;
    std::string estimate;
    if (finished > 0 && total_ > finished) {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        const auto left = std::chrono::duration_cast<std::chrono::seconds>(elapsed * (total_ - finished) / finished);
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, ", about %lld:%02lld left", static_cast<long long>(left.count() / 60),
                      static_cast<long long>(left.count() % 60));
        estimate = buffer;
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
