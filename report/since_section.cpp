#include "report/since_section.h"

#include "catalogue/find_message_text.h"
#include "catalogue/message_kind.h"
#include "compare/comparison_text.h"
#include "file/file_naming.h"
#include "readout/entry_time.h"
#include "records/cell_text.h"
#include "records/message_overview.h"

#include <algorithm>

namespace lexorant {

namespace {

// The latest valid time stamp of the entries that are in: where the older read-out's log ended.
std::optional<DatedStamp> LastStamp(const ReadOutData& readOut) {
    std::optional<DatedStamp> last;
    readOut.in.ForEach([&](EntryRef entry) {
        if (entry.index >= StoredEntries(readOut.store, entry.block))
            return;
        const auto stamp = Dated(OverviewHeadOf(SlotOf(readOut.store, entry)).TimeStamp);
        if (stamp && (!last || stamp->ms > last->ms))
            last = stamp;
    });
    return last;
}

ReportTable NewCodes(const ReadOutComparison& comparison) {
    ReportTable table;
    table.headings = {"Code", "Kind", "New entries", "Message text"};
    for (const std::int16_t code : comparison.NewCodes())
        table.rows.push_back({IntegerText(code), std::string(KindName(KindOfMessage(code))),
                              IntegerText(static_cast<std::int64_t>(comparison.NewCountOf(code))),
                              std::string(MessageTextOf(code))});
    return table;
}

} // namespace

ReportSince BuildSinceSection(const ReadOutComparison& comparison, const ReadOutData& older,
                              const RecordStore& newer) {
    ReportSince since;
    since.facts.push_back(
        {"Earlier read-out",
         NameWithoutFolder(older.name) + (older.partial ? " (partial: that read had not ended)" : "")});
    const auto last = LastStamp(older);
    since.facts.push_back(
        {"Its last time stamp", last ? StampText(last) : "no entry has a valid time stamp"});
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo})
        since.facts.push_back(
            {std::string(1, LetterOf(block)) + "-Info", ComparisonCountsText(comparison, block)});
    std::vector<EntryRef> faults = FaultEntriesInTimeOrder(newer);
    std::erase_if(faults, [&](const EntryRef& entry) { return !comparison.IsNew(entry); });
    since.newFaults = FaultEntryTable(newer, faults);
    since.newCodes = NewCodes(comparison);
    return since;
}

} // namespace lexorant
