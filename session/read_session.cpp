#include "session/read_session.h"

#include "link/serial_port.h"
#include "platform/sleep_inhibitor.h"
#include "readout/entry_keeper.h"

#include <exception>
#include <utility>

namespace lexorant {

ReadOutState ReadResult::End() const {
    return Written() && !failed ? ReadOutState::Complete : ReadOutState::Stopped;
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

ReadResult ReadSession::Run(RecordStore& store, SessionEvents& events, const std::atomic<bool>* stop) {
    ReadResult result;
    try {
        // A laptop that goes to sleep loses its USB adapter; where the system will not say so, read all the
        // same.
        const SleepInhibitor awake(AwakeReason(serial_));
        if (start_.keeper)
            start_.keeper->OnFailure([&events](const std::string& text) { events.KeepFailed(text); });
        ReadJob job{
            port_, store, events, stop, start_.keeper.get(), start_.kept ? &start_.kept->in : nullptr};
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
    events.ReadEnded(result);
    return result;
}

std::string ReadAnewText(KeptStart from, const std::string& serial) {
    if (from == KeptStart::Grown)
        return "The unit's logs have grown since its read-out was kept: reading it anew";
    if (from == KeptStart::Changed)
        return "The log of " + serial + " has changed since its read-out was kept: reading it anew";
    return {};
}

} // namespace lexorant
