#pragma once
// A read's events on a terminal: texts on standard error, one line each, or one live progress line
// with an estimate of the time left when standard error is a terminal (from the pace of the entries
// asked so far).
#include "link/read_estimate.h"
#include "session/read_session.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace lexorant::cli {

class TerminalEvents : public SessionEvents {
public:
    TerminalEvents(std::FILE* out, bool live, int totalEntries);

    void ReadStarted(const EntrySet& kept) override;
    void Status(const std::string& text) override;
    void EntryIn(EntryRef) override { estimate_.Asked(); }
    void EntryFailed(EntryRef, const std::string& text) override;
    // The read ends at once (the command says where and how to go on), unless it is to wait for the
    // unit: then it looks for it until it answers again or the time is up.
    AfterLoss LineLost(const LineLoss&) override;
    // Wait for the unit of `session` on `port` when the line is lost: without end (a technician can
    // press Ctrl+C), or at most `limit`.
    void WaitForUnit(ReadSession& session, std::string port, std::optional<std::chrono::minutes> limit);
    void FileWritten(const WrittenFile& written) override;
    void ReadEnded(const ReadResult&) override { EndLiveLine(); }
    void KeepFailed(const std::string& text) override { Line(text); }

private:
    void Line(const std::string& text);
    void EndLiveLine();
    std::FILE* out_;
    bool live_;
    bool liveLineOpen_ = false;
    ReadEstimate estimate_;
    ReadSession* waitFor_ = nullptr;
    std::string port_;
    std::optional<std::chrono::minutes> limit_;
};

} // namespace lexorant::cli
