#pragma once
// What a read-out logged, one row per distinct message code of both blocks: how often, since when,
// and where. Without Qt, so that the window, lexorant-cli and reports share it.
#include "catalogue/message_kind.h"
#include "readout/entry_ref.h"
#include "readout/entry_set.h"
#include "readout/entry_time.h"
#include "readout/info_head.h"
#include "readout/read_out_data.h"
#include "readout/record_store.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lexorant {

// The grid's date text and time text, "dd.mm.yy hh:mm:ss", or empty when no entry of the row had a
// valid date.
std::string StampText(const std::optional<DatedStamp>& stamp);

struct MessageRow {
    std::int16_t code = 0;
    MessageKind kind = MessageKind::Unknown;
    // What the status bar shows for the code when a cell of its column is selected (constant data).
    std::string_view text;
    std::uint32_t gInfo = 0; // entries in the G-Info block
    std::uint32_t xInfo = 0; // entries in the X-Info block
    std::uint32_t files = 1; // read-outs that hold the code
    // Earliest and latest entry with a valid date; none when no entry of the code has one.
    std::optional<DatedStamp> first;
    std::optional<DatedStamp> last;

    std::uint32_t Total() const { return gInfo + xInfo; }
    friend bool operator==(const MessageRow&, const MessageRow&) = default;
};

// The rows of one read-out, or of several merged. Rows keep the order in which their codes first
// appeared; Add is for the entries of one read-out (a new row counts one file), Merge for adding
// further read-outs.
class MessageTally {
public:
    // Counts one entry; returns the position of its code's row.
    std::size_t Add(InfoBlock block, const InfoHead& head);
    // Counts and files summed, first the earliest and last the latest of both.
    void Merge(const MessageTally& other);
    // Empties the tally in time proportional to its rows, so one tally can be reused per read-out.
    void Clear();

    const std::vector<MessageRow>& Rows() const { return rows_; }
    // Position of the code's row, or -1.
    std::ptrdiff_t Find(std::int16_t code) const;

private:
    std::size_t RowFor(std::int16_t code);

    std::vector<MessageRow> rows_;
    std::vector<std::int32_t> rowOfCode_; // by code + 32768, -1 for none; sized on first use
};

// A tally of one read-out that also remembers where each code occurs, in the order the entries were
// added (the window adds them as it shows them: G-Info first, each block in ascending order).
class MessageOverview {
public:
    std::size_t Add(EntryRef entry, const InfoHead& head);
    // Entry `index` of the store's block, read from its slot.
    std::size_t Add(const RecordStore& store, EntryRef entry);
    void Clear();

    const MessageTally& Tally() const { return tally_; }
    const std::vector<MessageRow>& Rows() const { return tally_.Rows(); }
    const std::vector<EntryRef>& Occurrences(std::size_t row) const { return occurrences_[row]; }

private:
    MessageTally tally_;
    std::vector<std::vector<EntryRef>> occurrences_;
};

// The head fields an overview looks at (message code and time stamp) of a slot of either block.
InfoHead OverviewHeadOf(const std::uint8_t* slot);

// Every entry of both blocks, G-Info first, each block in ascending order.
MessageOverview BuildMessageOverview(const RecordStore& store);
// The same without the occurrences, for summing many read-outs.
MessageTally TallyMessages(const RecordStore& store);
// Adds every entry of both blocks to `tally` (one that is reused per read-out).
void TallyMessages(const RecordStore& store, MessageTally& tally);
// Adds the entries of the read-out that are in (a read that stopped, a kept read-out: those read).
void TallyMessages(const ReadOutData& readOut, MessageTally& tally);

} // namespace lexorant
