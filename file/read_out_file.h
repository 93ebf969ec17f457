#pragma once
// A read-out as the tools open it: an ".inf" file, or a kept read-out of a read that has not ended
// (recognised by its signature, whatever its name), which is never taken for a complete one.
#include "readout/entry_set.h"
#include "readout/read_out_data.h"
#include "readout/record_store.h"

#include <optional>
#include <string>

namespace lexorant {

struct ReadOutFile {
    bool readable = false;  // false: store untouched
    bool partial = false;   // a kept read-out: only the entries in `in` have been read
    bool shortened = false; // an ".inf" file that ends before the blocks its header announces
    std::string serial;     // of a kept read-out; empty where not known
    EntrySet in; // every entry of an ".inf" file (a short one's missing bytes zero), of a kept one those read
};

// fileName as LoadInfoFile takes it. A kept read-out with a damaged head is not readable.
ReadOutFile LoadReadOutFile(const std::string& fileName, RecordStore& store);

// The read-out in a file as one value: its entries, which are in, and the unit's serial (from inside a
// kept read-out, else from an autosave name); nothing when the file cannot be opened.
std::optional<ReadOutData> LoadReadOut(const std::string& fileName);

} // namespace lexorant
