#pragma once
// Before a read goes on with a kept read-out of a unit: does the unit still hold what was kept? A
// unit whose log changed since (same serial number, same block sizes) must start anew, so that
// nothing kept is mixed into its file.
#include "readout/entry_ref.h"

namespace lexorant {

class EntrySet;
class SerialPort;
struct RecordStore;

enum class KeptCheck {
    Same,     // an entry asked again came good with the kept bytes
    Changed,  // it came good with other bytes
    NoAnswer, // none of the entries asked came good
};

struct KeptCheckResult {
    KeptCheck check = KeptCheck::NoAnswer;
    EntryRef entry; // the entry asked last
    int count = 0;  // entries of its block
};

// Asks the unit again for up to three kept entries (the last one read first, then the first one, then
// one between) until one answers good, and compares it with its kept bytes. Nothing is asked when
// no entry is kept: that is Same.
KeptCheckResult CheckKeptEntries(SerialPort& port, const RecordStore& kept, const EntrySet& in);

} // namespace lexorant
