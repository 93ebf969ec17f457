#include "session/read_session.h"

#include "link/kept_check.h"
#include "link/protocol.h"
#include "link/serial_port.h"
#include "platform/dos_devices.h"
#include "platform/same_adapter.h"
#include "platform/sleep_inhibitor.h"
#include "readout/entry_keeper.h"
#include "readout/entry_ref.h"

#include <exception>
#include <utility>

namespace lexorant {

ReadOutState ReadResult::End() const {
    return tally.RanToEnd() && !failed ? ReadOutState::Complete : ReadOutState::Stopped;
}

Prepared ReadSession::Prepare(const ReadChoices& choices) {
    Identification identification(port_);
    const auto notIdentified = [&] {
        failureText_ = identification.FailureText();
        failureReason_ = identification.FailureReason();
        return Prepared::NotIdentified;
    };
    const auto serial =
        choices.anyRate ? identification.SerialNumberAtAnyRate() : identification.SerialNumber();
    if (!serial)
        return notIdentified();
    serial_ = *serial;
    auto target = choices.target(serial_);
    if (!target)
        return Prepared::Cancelled;
    target_ = std::move(*target);
    failureText_ = KeptReadOutTargetText(target_);
    if (!failureText_.empty())
        return Prepared::Refused;
    const auto headers = identification.Headers();
    if (!headers)
        return notIdentified();
    headers_ = *headers;
    start_ = ChooseReadStart(port_, serial_, headers_, choices.continueKept);
    if (start_.from == KeptStart::Unchecked) {
        failureText_ = KeptCheckFailedText(start_.check);
        return Prepared::Unchecked;
    }
    if (start_.kept && start_.kept->writtenTo)
        target_ = WrittenBefore(std::move(target_), *start_.kept->writtenTo);
    return Prepared::Ready;
}

void ReadSession::Cancel() {
    port_.Cancel();
}

std::string ReadSession::KeepError() const {
    return start_.keeper ? start_.keeper->Error() : start_.keepError;
}

RecordStore ReadSession::TakeStartStore() {
    RecordStore store;
    if (start_.kept)
        store = std::move(start_.kept->store);
    else
        store.Replace(headers_.g, headers_.x);
    return store;
}

// The read's events passed on, noting which entry came in last, for a look at a unit that comes back.
class RunningEvents : public ReadEvents {
public:
    RunningEvents(ReadSession& session, SessionEvents& events) : session_(session), events_(events) {}
    void ReadStarted(const EntrySet& kept) override {
        kept.ForEach([this](EntryRef entry) { session_.lastIn_ = entry; });
        events_.ReadStarted(kept);
    }
    void Status(const std::string& text) override { events_.Status(text); }
    void EntryIn(EntryRef entry) override {
        session_.lastIn_ = entry;
        events_.EntryIn(entry);
    }
    void EntryFailed(EntryRef entry, const std::string& text) override { events_.EntryFailed(entry, text); }
    AfterLoss LineLost(const LineLoss& loss) override { return events_.LineLost(loss); }

private:
    ReadSession& session_;
    SessionEvents& events_;
};

namespace {

// A unit answers "SN?" within tens of milliseconds even at 1200 bit/s; a look must not hold up a
// window that waits for it.
constexpr std::chrono::milliseconds kLookAnswerTimeout{400};

// The port's answer time-out for the life of this object.
class AnswerTimeout {
public:
    AnswerTimeout(SerialPort& port, std::chrono::milliseconds timeout)
        : port_(port), saved_(port.AnswerTimeout()) {
        port_.SetAnswerTimeout(timeout);
    }
    ~AnswerTimeout() { port_.SetAnswerTimeout(saved_); }
    AnswerTimeout(const AnswerTimeout&) = delete;
    AnswerTimeout& operator=(const AnswerTimeout&) = delete;

private:
    SerialPort& port_;
    std::chrono::milliseconds saved_;
};

} // namespace

UnitLook ReadSession::LookForUnit() {
    if (!running_)
        return UnitLook::Away;
    movedTo_.reset();
    if (!port_.Reopen()) {
        // The link leads to a device that is gone: the adapter may be back under another name.
        if (!adapter_ || !LinkDangles(SerialDevicePath(port_.PortName())))
            return UnitLook::Away;
        const auto same = FindSameAdapter("/sys", *adapter_);
        if (!same || !port_.OpenDevice(*same))
            return UnitLook::Away;
        movedTo_ = same;
    }
    UnitLook look = UnitLook::Away;
    {
        const AnswerTimeout quick(port_, kLookAnswerTimeout);
        const auto serial = ParseSerialAnswer(port_.Exchange(kSerialRequest, kSerialAnswerLimit).answer);
        if (serial && *serial == serial_) {
            look = UnitLook::Back;
            // The last entry read, asked again: the unit must still hold it as it was read.
            const KeptCheck check = lastIn_ ? CheckKeptEntry(port_, *running_, *lastIn_) : KeptCheck::Same;
            if (check == KeptCheck::NoAnswer)
                look = UnitLook::Away; // not ready yet: the next look asks again
            else if (check == KeptCheck::Changed)
                look = UnitLook::Changed;
        }
    }
    if (look != UnitLook::Back)
        port_.CloseDevice();
    return look;
}

std::string ReadSession::BackText(const std::string& port) const {
    return movedTo_ ? UnitMovedText(port, movedTo_->string()) : UnitBackText(port);
}

ReadResult ReadSession::Run(RecordStore& store, SessionEvents& events, const std::atomic<bool>* stop) {
    ReadResult result;
    running_ = &store;
    lastIn_.reset();
    adapter_ = AdapterOfDevice(SerialDevicePath(port_.PortName())); // while it is still there
    RunningEvents running(*this, events);
    try {
        // A laptop that goes to sleep loses its USB adapter; where the system will not say so, read all the
        // same.
        const SleepInhibitor awake(AwakeReason(serial_));
        if (start_.keeper)
            start_.keeper->OnFailure([&events](const std::string& text) { events.KeepFailed(text); });
        ReadJob job{
            port_, store, running, stop, start_.keeper.get(), start_.kept ? &start_.kept->in : nullptr};
        result.tally = RunRead(job);
        lineLost_ = result.tally.lost.has_value();
        if (result.tally.RanToEnd() && target_.write) {
            // Noted before the write, so that a kill during it or before the kept read-out is removed
            // leaves one that knows its file; again after it when the file got another number.
            if (start_.keeper)
                start_.keeper->MarkWritten(target_.name);
            result.file = target_.write(store);
            events.FileWritten(*result.file);
            if (result.Written() && start_.keeper) {
                if (result.file->name != target_.name)
                    start_.keeper->MarkWritten(result.file->name);
                start_.keeper->Completed();
            }
        }
    } catch (const std::exception& e) {
        result.failed = true;
        result.unexpected = e.what();
    } catch (...) {
        result.failed = true;
    }
    running_ = nullptr;
    events.ReadEnded(result);
    return result;
}

std::string WaitingForUnitText(const std::string& port) {
    return "Waiting for " + port + " to come back ... (Ctrl+C ends; what was read is kept)";
}

std::string UnitBackText(const std::string& port) {
    return "The unit answers again on " + port;
}

std::string UnitMovedText(const std::string& port, const std::string& device) {
    return "The unit answers again on " + port + " through " + device +
           ": its adapter came back under another name";
}

std::string UnitChangedText(const std::string& port) {
    return "The unit answers again on " + port +
           ", but its log has changed meanwhile: what was read is kept, and the next read starts anew";
}

std::string ReadAnewText(KeptStart from, const std::string& serial) {
    if (from == KeptStart::Grown)
        return "The unit's logs have grown since its read-out was kept: reading it anew";
    if (from == KeptStart::Changed)
        return "The log of " + serial + " has changed since its read-out was kept: reading it anew";
    return {};
}

} // namespace lexorant
