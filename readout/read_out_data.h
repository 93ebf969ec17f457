#pragma once
// Which read-out it is and what is in it: the one value the views, the report, the chart and the
// command line take, whether it came from a unit or from a file.
#include "readout/entry_set.h"
#include "readout/record_store.h"

#include <string>

namespace lexorant {

enum class ReadOutOrigin { None, Unit, File };

struct ReadOutData {
    RecordStore store;
    EntrySet in;        // the entries that are in: every entry of an ".inf" file, those read of a partial one
    std::string serial; // the unit's serial number; empty where nothing says it
    std::string name;   // the name the user knows it by: the file's path, the read's target
    std::string source; // the port of a read, the path of an opened file
    ReadOutOrigin origin = ReadOutOrigin::None;
    bool partial = false; // only the entries of `in` were read: a read that stopped, a kept read-out
    bool damaged = false; // an ".inf" file that ends before the blocks its header announces
};

} // namespace lexorant
