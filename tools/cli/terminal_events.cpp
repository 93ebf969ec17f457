#include "tools/cli/terminal_events.h"

#include "readout/entry_set.h"

#include <string>
#include <thread>

namespace lexorant::cli {

TerminalEvents::TerminalEvents(std::FILE* out, bool live, int totalEntries)
    : out_(out), live_(live), estimate_(totalEntries) {}

void TerminalEvents::ReadStarted(const EntrySet& kept) {
    estimate_.Kept(static_cast<int>(kept.Count()));
}

void TerminalEvents::Status(const std::string& text) {
    if (!live_) {
        std::fprintf(out_, "%s\n", text.c_str());
        return;
    }
    const auto left = estimate_.Left();
    const std::string estimate = left ? ", " + TimeLeftText(*left) : "";
    std::fprintf(out_, "\r\033[K%s  [%d of %d entries%s]", text.c_str(), estimate_.Finished(),
                 estimate_.Total(), estimate.c_str());
    std::fflush(out_);
    liveLineOpen_ = true;
}

void TerminalEvents::WaitForUnit(ReadSession& session, std::string port,
                                 std::optional<std::chrono::minutes> limit) {
    waitFor_ = &session;
    port_ = std::move(port);
    limit_ = limit;
}

AfterLoss TerminalEvents::LineLost(const LineLoss& loss) {
    if (!waitFor_)
        return AfterLoss::Stop;
    Line(LineLostText(loss));
    const std::string waiting = WaitingForUnitText(port_);
    if (live_) {
        std::fprintf(out_, "\r\033[K%s", waiting.c_str());
        std::fflush(out_);
        liveLineOpen_ = true;
    } else {
        Line(waiting);
    }
    const auto until =
        limit_ ? std::chrono::steady_clock::now() + *limit_ : std::chrono::steady_clock::time_point::max();
    while (std::chrono::steady_clock::now() < until) {
        const auto next = std::chrono::steady_clock::now() + kUnitLookInterval;
        switch (waitFor_->LookForUnit()) {
        case UnitLook::Back:
            Line(waitFor_->BackText(port_));
            return AfterLoss::Resume;
        case UnitLook::Changed:
            Line(UnitChangedText(port_));
            return AfterLoss::Stop;
        case UnitLook::Away:
            break;
        }
        std::this_thread::sleep_until(next);
    }
    EndLiveLine();
    return AfterLoss::Stop;
}

void TerminalEvents::EntryFailed(EntryRef, const std::string& text) {
    estimate_.Asked();
    Line(text);
}

void TerminalEvents::FileWritten(const WrittenFile& written) {
    if (!written.error.empty())
        Line(written.error);
}

void TerminalEvents::Line(const std::string& text) {
    EndLiveLine();
    std::fprintf(out_, "%s\n", text.c_str());
}

void TerminalEvents::EndLiveLine() {
    if (liveLineOpen_)
        std::fputc('\n', out_);
    liveLineOpen_ = false;
}

} // namespace lexorant::cli
