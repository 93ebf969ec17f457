#pragma once
// What changed between two read-outs of one unit. An entry of the newer read-out is known when the
// older one holds an entry of the same block with the same slot bytes, wherever it stands: a log that
// went round moves entries and changes nothing, a cleared log shares nothing. Where the newer read-out
// holds more copies of the same bytes than the older, its later copies are new. The older read-out's
// entries whose bytes no entry read of the newer one holds are gone. All-zero slots (failed entries, unused
// slots) and entries never read (a kept partial read-out) are neither new nor gone: they count apart.
#include "compare/slot_index.h"
#include "readout/entry_ref.h"
#include "readout/info_header.h"
#include "readout/read_out_data.h"
#include "readout/record_store.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lexorant {

enum class EntryClass : std::uint8_t {
    NotRead, // not in the read-out (a partial one), or not classified yet
    Empty,   // all-zero slot
    Known,
    New,
};

struct ComparisonCounts {
    std::size_t added = 0;          // new entries of the newer read-out
    std::size_t known = 0;          // entries of the newer read-out the older one holds
    std::size_t gone = 0;           // entries of the older read-out the newer one does not hold
    std::size_t empty = 0;          // all-zero slots of the newer read-out
    std::size_t notRead = 0;        // entries of the newer read-out not read (or not yet classified)
    std::size_t earlierNotRead = 0; // entries of the older read-out never read

    friend bool operator==(const ComparisonCounts&, const ComparisonCounts&) = default;
};

class ReadOutComparison {
public:
    // The older read-out indexed, copied where needed (it need not outlive the comparison); every entry
    // of a newer read-out with blocks of the given sizes not classified yet. A read that is running
    // classifies each entry as it arrives.
    ReadOutComparison(const ReadOutData& older, const InfoHeader& newerG, const InfoHeader& newerX);

    // Classifies an entry of the newer read-out by its slot bytes. Once classified, an entry keeps its
    // class. Entries classified in entry order mark the later copies of repeated bytes as new; in any
    // order the counts are the same.
    EntryClass Classify(EntryRef entry, const std::uint8_t* slot);
    EntryClass Classify(const RecordStore& newer, EntryRef entry) {
        return Classify(entry, SlotOf(newer, entry));
    }

    EntryClass ClassOf(EntryRef entry) const;
    bool IsNew(EntryRef entry) const { return ClassOf(entry) == EntryClass::New; }

    ComparisonCounts Counts(InfoBlock block) const;
    // New entries of the code, both blocks together.
    std::size_t NewCountOf(std::int16_t code) const { return newOfCode_[CodeSlot(code)]; }
    // Codes of new entries that no entry of the older read-out has, ascending.
    std::vector<std::int16_t> NewCodes() const;

    // The newer read-out's new entries of a block, in entry order.
    std::vector<EntryRef> NewEntries(InfoBlock block) const;
    // The older read-out's gone entries of a block, in entry order.
    std::vector<EntryRef> GoneEntries(InfoBlock block) const;

private:
    enum class Earlier : std::uint8_t { NotRead, Empty, Held, Matched };

    struct Block {
        Block(const RecordStore& older, InfoBlock block);
        SlotIndex index; // the older read-out's held entries
        std::vector<Earlier> earlier;
        std::vector<EntryClass> newer;
        std::size_t held = 0, earlierNotRead = 0, added = 0, known = 0, empty = 0;
    };

    static std::size_t CodeSlot(std::int16_t code) { return static_cast<std::size_t>(code + 32768); }
    Block& BlockOf(InfoBlock block) { return block == InfoBlock::GInfo ? blocks_[0] : blocks_[1]; }
    const Block& BlockOf(InfoBlock block) const {
        return block == InfoBlock::GInfo ? blocks_[0] : blocks_[1];
    }

    std::array<Block, 2> blocks_;
    std::vector<bool> earlierCode_;        // by CodeSlot: an entry of the older read-out has the code
    std::vector<std::uint32_t> newOfCode_; // by CodeSlot
};

// Every entry of the newer read-out classified, in entry order.
ReadOutComparison Compare(const ReadOutData& older, const ReadOutData& newer);
// The same for a newer read-out given as its store and the entries that are in.
ReadOutComparison Compare(const ReadOutData& older, const RecordStore& newer, const EntrySet& newerIn);

// The entries a store holds slots for in a block: its header's count, never beyond its array.
std::size_t StoredEntries(const RecordStore& store, InfoBlock block);

} // namespace lexorant
