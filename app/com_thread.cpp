#include "app/com_thread.h"

#include "link/serial_port.h"
#include "session/read_session.h"

#include <QMetaObject>

namespace lexorant {

// Each event of the read becomes the window's steps, each run on the window thread while this
// thread waits for it.
class ComThread::HandOff : public SessionEvents {
public:
    HandOff(ReadSteps& target, QObject* window) : target_(target), window_(window) {}

    void ReadStarted(const EntrySet& kept) override {
        Run([this] { target_.LockMenus(); });
        Run([this] { target_.InitInfoGrids(); });
        if (kept.Count() > 0) // one hand-off for all of them: a continued read may bring tens of thousands
            Run([this, &kept] { target_.ShowKeptEntries(kept); });
    }
    void Status(const std::string& text) override {
        Run([this, &text] { target_.ShowStatus(text); });
    }
    void EntryIn(EntryRef entry) override {
        const int index = entry.index;
        if (entry.block == InfoBlock::GInfo)
            Run([this, index] { target_.ShowGInfoEntry(index); });
        else
            Run([this, index] { target_.ShowXInfoEntry(index); });
    }
    void EntryFailed(EntryRef, const std::string& text) override {
        Run([this, &text] { target_.ShowError(text); });
    }
    AfterLoss LineLost(const LineLoss& loss) override {
        AfterLoss after = AfterLoss::Stop;
        Run([this, &loss, &after] { after = target_.LineLost(loss); });
        return after;
    }
    void FileWritten(const WrittenFile& written) override {
        Run([this, &written] { target_.ShowFileName(written.name); });
        if (!written.error.empty())
            Run([this, &written] { target_.ShowError(written.error); });
    }
    void ReadEnded(const ReadResult& result) override {
        if (result.failed)
            Run([this, &result] { target_.ShowUnexpectedError(result.unexpected); });
        Run([this, &result] { target_.UnlockMenus(result.End()); });
    }

private:
    template <typename F> void Run(F step) {
        QMetaObject::invokeMethod(window_, step, Qt::BlockingQueuedConnection);
    }
    ReadSteps& target_;
    QObject* window_;
};

ComThread::ComThread(ReadSteps& windowSteps, ReadSession& session, RecordStore& store, QObject* window)
    : windowSteps_(windowSteps), session_(session), store_(store), window_(window) {}

// The owner stops a running read first (RequestStop, then drains the pending hand-offs).
ComThread::~ComThread() {
    wait();
}

void ComThread::RequestStop() {
    stop_.store(true, std::memory_order_release);
    session_.Cancel();
}

void ComThread::run() {
    finished_.store(false, std::memory_order_release);
    HandOff handOff(windowSteps_, window_);
    try {
        session_.Run(store_, handOff, &stop_);
    } catch (
        ...) { // a step itself failed: nothing more can be told; the finished flag still lets the window quit
    }
    finished_.store(true, std::memory_order_release);
}

} // namespace lexorant
