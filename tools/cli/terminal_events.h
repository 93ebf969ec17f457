#pragma once
// A read's events on a terminal: texts on standard error, one line each, or one live progress line
// with an estimate of the time left when standard error is a terminal (from the pace of the entries
// asked so far).
#include "link/read_estimate.h"
#include "session/read_session.h"

#include <cstdio>

namespace lexorant::cli {

class TerminalEvents : public SessionEvents {
public:
    TerminalEvents(std::FILE* out, bool live, int totalEntries);

    void ReadStarted(const EntrySet& kept) override;
    void Status(const std::string& text) override;
    void EntryIn(EntryRef) override { estimate_.Asked(); }
    void EntryFailed(EntryRef, const std::string& text) override;
    // The read ends at once: the command says where and how to go on.
    AfterLoss LineLost(const LineLoss&) override { return AfterLoss::Stop; }
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
};

} // namespace lexorant::cli
