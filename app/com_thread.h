#pragma once
// The reading thread: runs the read session and hands every effect on the window to the window
// thread as one of its steps, waiting until each step has run there.
#include "app/read_steps.h"

#include <QThread>

#include <atomic>

namespace lexorant {

class ReadSession;
struct RecordStore;

class ComThread : public QThread {
    Q_OBJECT
public:
    // windowSteps run on the thread of `window`; the session is prepared, `store` is the one it fills.
    ComThread(ReadSteps& windowSteps, ReadSession& session, RecordStore& store, QObject* window);
    ~ComThread() override;

    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Ends the read between entries and wakes a blocked exchange; pending hand-offs still run.
    void RequestStop();

protected:
    void run() override;

private:
    class HandOff;
    ReadSteps& windowSteps_;
    ReadSession& session_;
    RecordStore& store_;
    QObject* window_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> stop_{false};
};

} // namespace lexorant
