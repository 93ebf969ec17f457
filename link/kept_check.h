#pragma once
// Before a read goes on with a kept read-out of a unit: does the unit still hold what was kept? A
// unit whose log changed since (same serial number, same block sizes) must start anew, so that
// nothing kept is mixed into its file.
#include "readout/entry_ref.h"

#include <cstddef>
#include <vector>

namespace lexorant {

class EntrySet;
class SerialPort;
struct RecordStore;

enum class KeptCheck {
    Same,     // every entry asked again came good with the kept bytes
    Changed,  // one came good with other bytes
    NoAnswer, // one of the entries asked did not come good, even when asked twice
};

struct KeptCheckResult {
    KeptCheck check = KeptCheck::NoAnswer;
    EntryRef entry; // the entry asked last
    int count = 0;  // entries of its block
};

// At most this many kept entries are asked again: a few seconds at 9600 bit/s.
inline constexpr std::size_t kMostKeptEntriesChecked = 40;

// The kept entries worth asking again, in the order they are asked. A log that changed since in
// other entries (a full log that overwrites its oldest slots, a log cleared and written anew) most
// likely differs at the newest entries kept and the slots after them, or at the ends of what was
// kept: per block the entries with the newest time stamps and the slot after each, then the first
// and last entry of every run of kept entries, at most kMostKeptEntriesChecked.
std::vector<EntryRef> KeptEntriesToCheck(const RecordStore& kept, const EntrySet& in);

// Asks the unit again for one entry and compares it with its bytes in `kept`: Same, Changed, or
// NoAnswer when it does not come good, even when asked twice.
KeptCheck CheckKeptEntry(SerialPort& port, const RecordStore& kept, EntryRef entry);

// Asks the unit again for KeptEntriesToCheck and compares each with its kept bytes; stops at the first
// that differs, or that comes without answer or bad twice. Nothing is asked when no entry is kept:
// that is Same.
KeptCheckResult CheckKeptEntries(SerialPort& port, const RecordStore& kept, const EntrySet& in);

} // namespace lexorant
