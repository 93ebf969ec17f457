#include "session/read_start.h"

#include "link/read_loop.h"
#include "link/serial_port.h"

namespace lexorant {

ReadStart ChooseReadStart(SerialPort& port, const std::string& serial, const InfoHeaders& headers,
                          const std::function<bool(const KeptReadOut&)>& continueKept) {
    ReadStart start;
    const auto path = KeptReadOutPath(serial);
    auto found = path ? LoadKeptReadOut(*path) : std::nullopt;
    if (found && found->serial != serial)
        found.reset(); // another serial number that shares the file name: replaced
    if (found && (found->store.GInfo != headers.g || found->store.XInfo != headers.x)) {
        start.from = KeptStart::Grown;
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
