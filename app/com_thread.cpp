#include "app/com_thread.h"

#include "link/serial_port.h"
#include "platform/sleep_inhibitor.h"

#include <QMetaObject>

#include <exception>

namespace lexorant {

// Each step runs on the window thread while this thread waits for it.
class ComThread::HandOff : public ReadSteps {
public:
    HandOff(ReadSteps& target, QObject* window) : target_(target), window_(window) {}
    void LockMenus() override { Run([this] { target_.LockMenus(); }); }
    void InitInfoGrids() override { Run([this] { target_.InitInfoGrids(); }); }
    void ShowStatus(const std::string& text) override { Run([this, &text] { target_.ShowStatus(text); }); }
    void ShowGInfoEntry(int index) override { Run([this, index] { target_.ShowGInfoEntry(index); }); }
    void ShowXInfoEntry(int index) override { Run([this, index] { target_.ShowXInfoEntry(index); }); }
    void ShowError(const std::string& text) override { Run([this, &text] { target_.ShowError(text); }); }
    void UnlockMenus() override { Run([this] { target_.UnlockMenus(); }); }
    void ShowFileName(const std::string& name) override { Run([this, &name] { target_.ShowFileName(name); }); }
    void ShowUnexpectedError(const std::string& text) override {
        Run([this, &text] { target_.ShowUnexpectedError(text); });
    }
    AfterLoss LineLost(const LineLoss& loss) override {
        AfterLoss after = AfterLoss::Stop;
        Run([this, &loss, &after] { after = target_.LineLost(loss); });
        return after;
    }
    void ShowKeptEntries(const EntrySet& in) override { Run([this, &in] { target_.ShowKeptEntries(in); }); }

private:
    template <typename F> void Run(F step) {
        QMetaObject::invokeMethod(window_, step, Qt::BlockingQueuedConnection);
    }
    ReadSteps& target_;
    QObject* window_;
};

ComThread::ComThread(ReadSteps& windowSteps, SerialPort& port, RecordStore& store, FileWriter writeFile,
                     QObject* window, ComThreadKept kept)
    : windowSteps_(windowSteps), port_(port), store_(store), writeFile_(std::move(writeFile)), window_(window),
      kept_(std::move(kept)) {}

// The owner stops a running read first (RequestStop, then drains the pending hand-offs).
ComThread::~ComThread() { wait(); }

void ComThread::RequestStop() {
    stop_.store(true, std::memory_order_release);
    port_.Cancel();
}

void ComThread::run() {
    finished_.store(false, std::memory_order_release);
    HandOff handOff(windowSteps_, window_);
    ReadJob job{port_, store_, handOff, writeFile_, &stop_, kept_.keeper, kept_.in};
    // An error escaping the read is shown like one escaping a handler, and the window is usable again.
    std::string unexpected;
    bool failed = false;
    {
        // Held until the read ends, however it ends; where the system will not give it, read all the same.
        const SleepInhibitor awake(kept_.awakeFor);
        try {
            RunRead(job);
        } catch (const std::exception& e) {
            failed = true;
            unexpected = e.what();
        } catch (...) {
            failed = true;
        }
    }
    if (failed) {
        try {
            handOff.ShowUnexpectedError(unexpected);
            handOff.UnlockMenus();
        } catch (...) { // nothing more can be told; the finished flag still lets the window quit
        }
    }
    finished_.store(true, std::memory_order_release);
}

} // namespace lexorant
