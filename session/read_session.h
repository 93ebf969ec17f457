#pragma once
// The whole road of one read of a unit, for the window and the command line alike: identify the
// unit, choose the file's name, choose where to start (continue a kept read-out or start anew), read
// what is missing, write the file, end. Who reads answers the choices through callbacks and hears
// what happens as SessionEvents.
#include "link/identification.h"
#include "link/read_loop.h"
#include "platform/port_survey.h"
#include "readout/read_out_state.h"
#include "readout/record_store.h"
#include "readout/written_file.h"
#include "session/read_start.h"
#include "session/read_target.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace lexorant {

class SerialPort;

struct ReadResult {
    ReadTally tally;
    std::optional<WrittenFile> file; // the file written or failed, when the read ran to its end
    bool failed = false;             // an error no step expected ended the read
    std::string unexpected;          // its text, possibly empty

    // Complete when every entry was asked (whether or not the file could be written); Stopped when the
    // read ended early.
    ReadOutState End() const;
    bool Written() const { return file && file->error.empty(); }
};

// The read loop's events, and the end of the read.
class SessionEvents : public ReadEvents {
public:
    // The file has been written, or has failed to be, under written.name (an autosave takes the next
    // free number when another writer took the one chosen at the start).
    virtual void FileWritten(const WrittenFile& written) = 0;
    // The last event of a read, however it ended.
    virtual void ReadEnded(const ReadResult& result) = 0;
    // From this entry on, the entries read are no longer kept (the disk is full, ...); `text` says so.
    virtual void KeepFailed(const std::string& /*text*/) {}
};

struct ReadChoices {
    // The target of the unit's read-out; nothing ends the read before it begins (the user cancelled).
    std::function<std::optional<ReadTarget>(const std::string& serial)> target;
    // Asked only for a kept read-out of this very unit: true continues it, false starts anew.
    std::function<bool(const KeptReadOut&)> continueKept;
    // Try every bit rate when the unit does not answer at the port's.
    bool anyRate = false;
};

// What a look for the unit on the port of a lost line found.
enum class UnitLook {
    Away,    // the port cannot be opened yet, or nothing (or another unit) answers on it
    Back,    // the unit answers with its serial number and the last entry read comes as it was read
    Changed, // the unit answers, but that entry comes with other bytes: its log moved on meanwhile
};

enum class Prepared {
    Ready,         // identified, named, started: Run reads
    NotIdentified, // no serial number or no block headers: FailureText says why
    Cancelled,     // no target chosen
    Unchecked,     // a kept read-out could not be checked against the unit: FailureText says why
    Refused,       // the target would write over a kept read-out: FailureText says so
};

class ReadSession {
public:
    explicit ReadSession(SerialPort& port) : port_(port) {}
    ReadSession(const ReadSession&) = delete;
    ReadSession& operator=(const ReadSession&) = delete;

    // On the caller's thread (the window's, whose dialogs answer the choices).
    Prepared Prepare(const ReadChoices& choices);

    const std::string& Serial() const { return serial_; }
    const InfoHeaders& Headers() const { return headers_; }
    const ReadTarget& Target() const { return target_; }
    const ReadStart& Start() const { return start_; }
    // Why Prepare did not come to Ready, and (NotIdentified) why the line failed, for a trace.
    const std::string& FailureText() const { return failureText_; }
    const std::string& FailureReason() const { return failureReason_; }
    // Why the entries of this read are not kept as they arrive; empty while they are.
    std::string KeepError() const;
    // The store the read starts from: every slot zero, or those of the kept read-out it continues.
    // Taken once, by whoever holds the store while the read runs.
    RecordStore TakeStartStore();

    // On the reading thread: asks every entry not yet in into `store`, writes the file, ends.
    ReadResult Run(RecordStore& store, SessionEvents& events, const std::atomic<bool>* stop = nullptr);
    // While the read waits in ReadEvents::LineLost (on whichever thread answers it): one look for
    // the unit, at once, taking at most about a second. Back leaves the port open for AfterLoss::Resume;
    // otherwise the device is let go again.
    // When the port's link leads nowhere, the one USB adapter like the port's at the start of the read
    // is opened instead (its tty came back under another name).
    UnitLook LookForUnit();
    // What to say once LookForUnit found the unit Back: UnitBackText, or UnitMovedText when it answered
    // through the same adapter under another name.
    std::string BackText(const std::string& port) const;

    // From another thread: wakes a blocked exchange (the read ends at the stop request it comes with).
    void Cancel();
    // The last Run ended because the line was lost: the port is as the loss left it.
    bool LineWasLost() const { return lineLost_; }

private:
    SerialPort& port_;
    std::string serial_;
    InfoHeaders headers_;
    ReadTarget target_;
    ReadStart start_;
    std::string failureText_;
    std::string failureReason_;
    bool lineLost_ = false;
    // While Run runs: the store it fills, and the last entry that came in (or was kept).
    RecordStore* running_ = nullptr;
    std::optional<EntryRef> lastIn_;
    // The USB adapter of the port's device when Run began, and the device it came back as.
    std::optional<UsbAdapter> adapter_;
    std::optional<std::filesystem::path> movedTo_;
    friend class RunningEvents;
};

// How often whoever waits for a lost unit looks for it.
inline constexpr std::chrono::milliseconds kUnitLookInterval{500};

// "Waiting for COM5 to come back ..." while the read waits; "The unit answers again on COM5" once it
// does; what a unit whose log changed meanwhile comes to.
std::string WaitingForUnitText(const std::string& port);
std::string UnitBackText(const std::string& port);
std::string UnitMovedText(const std::string& port, const std::string& device);
std::string UnitChangedText(const std::string& port);

// What the read starts from, when whoever reads should be told: a kept read-out read anew because
// the unit's logs have grown or changed since. Empty otherwise.
std::string ReadAnewText(KeptStart from, const std::string& serial);

} // namespace lexorant
