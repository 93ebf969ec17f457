#pragma once
// The reading thread's hand-off steps: what a read does to the window, each run on the window
// thread while the reading thread waits (ComThread turns the read's events into them, in order).
#include "link/read_loop.h"
#include "readout/read_out_state.h"

#include <string>

namespace lexorant {

class EntrySet;

class ReadSteps {
public:
    virtual ~ReadSteps() = default;
    virtual void LockMenus() = 0;
    virtual void InitInfoGrids() = 0;
    // A continued read: the entries already in, shown once before any entry is asked.
    virtual void ShowKeptEntries(const EntrySet& in) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ShowGInfoEntry(int index) = 0;
    virtual void ShowXInfoEntry(int index) = 0;
    // Returns once the user has closed the box.
    virtual void ShowError(const std::string& text) = 0;
    virtual AfterLoss LineLost(const LineLoss& loss) = 0;
    // The file has been written, or has failed to be, under this name.
    virtual void ShowFileName(const std::string& fileName) = 0;
    // An error that no step of the read expected, shown as any error escaping a handler.
    virtual void ShowUnexpectedError(const std::string& text) = 0;
    // The read is over (Complete or Stopped): the commands it locked are free again.
    virtual void UnlockMenus(ReadOutState end) = 0;
};

} // namespace lexorant
