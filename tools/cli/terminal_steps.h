#pragma once
// The reading loop's steps on a terminal: texts on standard error, one line each, or one live
// progress line with an estimate of the time left when standard error is a terminal (from the pace
// of the entries asked so far).
#include "link/read_estimate.h"
#include "link/read_loop.h"

#include <cstdio>

namespace lexorant::cli {

class TerminalSteps : public ReadSteps {
public:
    TerminalSteps(std::FILE* out, bool live, int totalEntries);

    void LockMenus() override {}
    void InitInfoGrids() override {}
    void ShowStatus(const std::string& text) override;
    void ShowGInfoEntry(int) override { estimate_.Asked(); }
    void ShowXInfoEntry(int) override { estimate_.Asked(); }
    void ShowError(const std::string& text) override;
    void UnlockMenus() override { EndLiveLine(); }
    // The read ends at once: the command says where and how to go on.
    AfterLoss LineLost(const LineLoss&) override { return AfterLoss::Stop; }
    void ShowKeptEntries(const EntrySet& in) override;

private:
    void EndLiveLine();
    std::FILE* out_;
    bool live_;
    bool liveLineOpen_ = false;
    ReadEstimate estimate_;
};

} // namespace lexorant::cli
