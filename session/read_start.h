#pragma once
// What a read of an identified unit starts from: the unit's kept read-out, continued when the unit
// still holds what was kept (and whoever reads wants it continued), or nothing; and where this read
// keeps its entries. The command line and the window start every read through here.
#include "file/kept_read_out.h"
#include "link/identification.h"
#include "link/kept_check.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lexorant {

class SerialPort;

enum class KeptStart {
    None,      // no kept read-out of this unit
    Grown,     // one is kept, but the unit holds more entries of the same kinds now: started anew
    Declined,  // one is kept, and whoever reads chose to start anew
    Continued, // the unit still holds what was kept: only the rest is asked
    Changed,   // the unit answered a kept entry with other bytes, or its headers name other kinds of
               // entry: started anew
    Unchecked, // the unit gave no good answer to the check: no read
};

struct ReadStart {
    KeptStart from = KeptStart::None;
    std::optional<KeptReadOut> kept;           // Continued: its store and the entries in
    std::unique_ptr<KeptReadOutWriter> keeper; // where this read keeps its entries; none when it cannot
    std::string keepError;                     // why there is no keeper
    KeptCheckResult check;                     // Changed by an entry, Unchecked: the entry asked last
};

// continueKept: asked only for a kept read-out of this very unit (serial number and both headers);
// true continues it after checking the unit, false starts anew.
ReadStart ChooseReadStart(SerialPort& port, const std::string& serial, const InfoHeaders& headers,
                          const std::function<bool(const KeptReadOut&)>& continueKept);

// "The unit gave no good answer for G-Info 5 of 30, asked to check its kept read-out"
std::string KeptCheckFailedText(const KeptCheckResult& check);

// Why a read keeps the computer awake, as the system lists it.
std::string AwakeReason(const std::string& serial);

} // namespace lexorant
