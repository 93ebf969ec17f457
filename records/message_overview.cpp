#include "records/message_overview.h"

#include "catalogue/find_message_text.h"
#include "readout/entry_time.h"
#include "records/cell_text.h"
#include "records/entry_layout.h"

namespace lexorant {

namespace {

constexpr std::size_t kCodeCount = 65536;

std::size_t CodeSlot(std::int16_t code) {
    return static_cast<std::size_t>(code + 32768);
}

} // namespace

std::string StampText(const std::optional<DatedStamp>& stamp) {
    if (!stamp)
        return {};
    std::string text = DateText(stamp->stamp);
    text += ' ';
    AppendTimeText(text, stamp->stamp);
    return text;
}

std::size_t MessageTally::RowFor(std::int16_t code) {
    if (rowOfCode_.empty())
        rowOfCode_.assign(kCodeCount, -1);
    std::int32_t& row = rowOfCode_[CodeSlot(code)];
    if (row < 0) {
        row = static_cast<std::int32_t>(rows_.size());
        MessageRow fresh;
        fresh.code = code;
        fresh.kind = KindOfMessage(code);
        fresh.text = MessageTextOf(code);
        fresh.files = 0;
        rows_.push_back(fresh);
    }
    return static_cast<std::size_t>(row);
}

std::size_t MessageTally::Add(InfoBlock block, const InfoHead& head) {
    const std::size_t position = RowFor(head.MessageCode);
    MessageRow& row = rows_[position];
    row.files = 1;
    ++(block == InfoBlock::GInfo ? row.gInfo : row.xInfo);
    const auto dated = Dated(head.TimeStamp);
    WidenSpan(row.first, row.last, dated, dated);
    return position;
}

void MessageTally::Merge(const MessageTally& other) {
    for (const MessageRow& theirs : other.rows_) {
        MessageRow& row = rows_[RowFor(theirs.code)];
        row.gInfo += theirs.gInfo;
        row.xInfo += theirs.xInfo;
        row.files += theirs.files;
        WidenSpan(row.first, row.last, theirs.first, theirs.last);
    }
}

void MessageTally::Clear() {
    for (const MessageRow& row : rows_)
        rowOfCode_[CodeSlot(row.code)] = -1;
    rows_.clear();
}

std::ptrdiff_t MessageTally::Find(std::int16_t code) const {
    return rowOfCode_.empty() ? -1 : rowOfCode_[CodeSlot(code)];
}

std::size_t MessageOverview::Add(EntryRef entry, const InfoHead& head) {
    const std::size_t row = tally_.Add(entry.block, head);
    if (row == occurrences_.size())
        occurrences_.emplace_back();
    occurrences_[row].push_back(entry);
    return row;
}

std::size_t MessageOverview::Add(const RecordStore& store, EntryRef entry) {
    return Add(entry, OverviewHeadOf(SlotOf(store, entry)));
}

void MessageOverview::Clear() {
    tally_.Clear();
    occurrences_.clear();
}

InfoHead OverviewHeadOf(const std::uint8_t* slot) {
    InfoHead head;
    head.TimeStamp = EntryTimeStamp(slot);
    head.MessageCode = EntryMessageCode(slot);
    return head;
}

namespace {

template <typename Sink> void ForEachEntry(const RecordStore& store, Sink&& sink) {
    const std::size_t g = store.GInfoSlots.size() / kGInfoSlotSize;
    const std::size_t x = store.XInfoSlots.size() / kXInfoSlotSize;
    for (std::size_t i = 0; i < g; ++i)
        sink(EntryRef{InfoBlock::GInfo, static_cast<std::uint16_t>(i)}, OverviewHeadOf(store.GInfoSlot(i)));
    for (std::size_t i = 0; i < x; ++i)
        sink(EntryRef{InfoBlock::XInfo, static_cast<std::uint16_t>(i)}, OverviewHeadOf(store.XInfoSlot(i)));
}

} // namespace

MessageOverview BuildMessageOverview(const RecordStore& store) {
    MessageOverview overview;
    ForEachEntry(store, [&](EntryRef entry, const InfoHead& head) { overview.Add(entry, head); });
    return overview;
}

MessageTally TallyMessages(const RecordStore& store) {
    MessageTally tally;
    TallyMessages(store, tally);
    return tally;
}

void TallyMessages(const RecordStore& store, MessageTally& tally) {
    ForEachEntry(store, [&](EntryRef entry, const InfoHead& head) { tally.Add(entry.block, head); });
}

void TallyMessages(const ReadOutData& readOut, MessageTally& tally) {
    readOut.in.ForEach(
        [&](EntryRef entry) { tally.Add(entry.block, OverviewHeadOf(SlotOf(readOut.store, entry))); });
}

} // namespace lexorant
