#pragma once
// The reading thread: runs the reading loop and hands every effect on the window to the window
// thread, waiting until each step has run there.
#include "link/read_loop.h"

#include <QThread>

#include <atomic>
#include <string>

namespace lexorant {

// What a read continues from and where it keeps its entries (either may be missing), and what the
// system is told keeps the machine awake while it runs.
struct ComThreadKept {
    EntryKeeper* keeper = nullptr;
    const EntrySet* in = nullptr;
    std::string awakeFor;
};

class ComThread : public QThread {
    Q_OBJECT
public:
    // steps run on the window thread; job.stop is this thread's stop request.
    ComThread(ReadSteps& windowSteps, SerialPort& port, RecordStore& store, FileWriter writeFile,
              QObject* window, ComThreadKept kept = {});
    ~ComThread() override;

    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Ends the read between entries and wakes a blocked exchange; pending hand-offs still run.
    void RequestStop();

protected:
    void run() override;

private:
    class HandOff;
    ReadSteps& windowSteps_;
    SerialPort& port_;
    RecordStore& store_;
    FileWriter writeFile_;
    QObject* window_;
    ComThreadKept kept_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> stop_{false};
};

} // namespace lexorant
