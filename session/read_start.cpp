#include "session/read_start.h"

#include "link/read_loop.h"
#include "link/serial_port.h"

#include <filesystem>
#include <system_error>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

// The same kinds of entry in both blocks, and more of them now: the unit has logged since. Another
// entry type or answer length, or fewer entries, is another log.
bool HaveGrown(const RecordStore& kept, const InfoHeaders& now) {
    const auto sameKind = [](const InfoHeader& a, const InfoHeader& b) {
        return a.AnswerLength == b.AnswerLength && a.InfoType == b.InfoType && a.EntryCount <= b.EntryCount;
    };
    return sameKind(kept.GInfo, now.g) && sameKind(kept.XInfo, now.x);
}

} // namespace

ReadStart ChooseReadStart(SerialPort& port, const std::string& serial, const InfoHeaders& headers,
                          const std::function<bool(const KeptReadOut&)>& continueKept) {
    ReadStart start;
    const auto path = KeptReadOutPath(serial);
    // A link there is no kept read-out of this program's (its writer would not follow it either).
    std::error_code ec;
    auto found =
        path && !fs::is_symlink(fs::symlink_status(*path, ec)) ? LoadKeptReadOut(*path) : std::nullopt;
    if (found && found->serial != serial)
        found.reset(); // another serial number that shares the file name: replaced
    if (found && (found->store.GInfo != headers.g || found->store.XInfo != headers.x)) {
        start.from = HaveGrown(found->store, headers) ? KeptStart::Grown : KeptStart::Changed;
        found.reset();
    }
    if (found && found->in.Count() == 0)
        found.reset(); // nothing read yet (stopped before its first entry): nothing to continue
    if (found && !continueKept(*found)) {
        start.from = KeptStart::Declined;
        found.reset();
    }
    if (found) {
        start.check = CheckKeptEntries(port, found->store, found->in);
        if (start.check.check == KeptCheck::NoAnswer) {
            start.from = KeptStart::Unchecked;
            return start;
        }
        if (start.check.check == KeptCheck::Same) {
            start.from = KeptStart::Continued;
            start.keeper = KeptReadOutWriter::Resume(*found, start.keepError);
            start.kept = std::move(found);
        } else {
            start.from = KeptStart::Changed;
        }
    }
    if (!start.kept) {
        if (path)
            start.keeper = KeptReadOutWriter::Begin(*path, serial, headers.g, headers.x, start.keepError);
        else
            start.keepError = "no state folder";
    }
    return start;
}

std::string KeptCheckFailedText(const KeptCheckResult& check) {
    return "The unit gave no good answer for " + EntryOfText(check.entry, check.count) +
           ", asked to check its kept read-out";
}

std::string AwakeReason(const std::string& serial) {
    return "Reading the logs of unit " + serial;
}

} // namespace lexorant
