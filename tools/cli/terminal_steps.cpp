#include "tools/cli/terminal_steps.h"

#include "readout/entry_set.h"

#include <string>

namespace lexorant::cli {

TerminalSteps::TerminalSteps(std::FILE* out, bool live, int totalEntries)
    : out_(out), live_(live), estimate_(totalEntries) {}

void TerminalSteps::ShowKeptEntries(const EntrySet& in) { estimate_.Kept(static_cast<int>(in.Count())); }

void TerminalSteps::ShowStatus(const std::string& text) {
    if (!live_) {
        std::fprintf(out_, "%s\n", text.c_str());
        return;
    }
    const auto left = estimate_.Left();
    const std::string estimate = left ? ", " + TimeLeftText(*left) : "";
    std::fprintf(out_, "\r\033[K%s  [%d of %d entries%s]", text.c_str(), estimate_.Finished(), estimate_.Total(),
                 estimate.c_str());
    std::fflush(out_);
    liveLineOpen_ = true;
}

void TerminalSteps::ShowError(const std::string& text) {
    estimate_.Asked();
    EndLiveLine();
    std::fprintf(out_, "%s\n", text.c_str());
}

void TerminalSteps::EndLiveLine() {
    if (liveLineOpen_)
        std::fputc('\n', out_);
    liveLineOpen_ = false;
}

} // namespace lexorant::cli
