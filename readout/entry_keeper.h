#pragma once
// Where a read puts every entry the moment it has arrived good, so that nothing read is lost when
// the read stops before its file is written.
#include "readout/entry_ref.h"

#include <cstdint>
#include <span>

namespace lexorant {

class EntryKeeper {
public:
    virtual ~EntryKeeper() = default;
    // The entry's slot, as the read decoded it.
    virtual void Keep(EntryRef entry, std::span<const std::uint8_t> slot) = 0;
    // The read-out's file has been written: what was kept is no longer needed.
    virtual void Completed() = 0;
};

} // namespace lexorant
