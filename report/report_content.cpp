#include "report/report_content.h"

#include "catalogue/message_kind.h"
#include "file/file_naming.h"
#include "platform/decimal_separator.h"
#include "readout/entry_time.h"
#include "records/cell_text.h"
#include "records/entry_message.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace lexorant {

namespace {

std::string BlockName(InfoBlock block) {
    return block == InfoBlock::GInfo ? "G-Info" : "X-Info";
}

// Earliest and latest valid stamp of all entries, whatever their code.
struct Span {
    std::optional<DatedStamp> first, last;
};

Span SpanOf(const MessageTally& tally) {
    Span span;
    for (const MessageRow& row : tally.Rows())
        WidenSpan(span.first, span.last, row.first, row.last);
    return span;
}

std::vector<ReportFact> Facts(const ReadOutData& readOut, std::string_view madeAt, const MessageTally& tally,
                              std::size_t faultEntries) {
    const RecordStore& store = readOut.store;
    const bool partial = readOut.partial;
    std::vector<ReportFact> facts;
    facts.push_back({"Read-out", NameWithoutFolder(readOut.name) +
                                     (partial ? " (partial: the read has not ended)" : "")});
    if (!readOut.serial.empty())
        facts.push_back({"Serial number", readOut.serial});
    facts.push_back({"Report made", std::string(madeAt)});
    // A partial read-out: "25 of 40 read".
    const auto count = [&readOut, partial](InfoBlock block, std::uint16_t entries) {
        return partial ? IntegerText(static_cast<std::int64_t>(readOut.in.Count(block))) + " of " +
                             IntegerText(entries) + " read"
                       : IntegerText(entries);
    };
    facts.push_back({"G-Info entries", count(InfoBlock::GInfo, store.GInfo.EntryCount)});
    facts.push_back({"X-Info entries", count(InfoBlock::XInfo, store.XInfo.EntryCount) + " (X-Info type " +
                                           IntegerText(store.XInfo.InfoType) + ")"});
    const Span span = SpanOf(tally);
    facts.push_back({"Time span", span.first ? StampText(span.first) + " to " + StampText(span.last)
                                             : "no entry has a valid time stamp"});
    facts.push_back({"Fault entries", IntegerText(static_cast<std::int64_t>(faultEntries))});
    return facts;
}

ReportTable Overview(const MessageTally& tally, std::string& moreCodes) {
    ReportTable table;
    table.headings = {"Code", "Kind", "G-Info", "X-Info", "First", "Last", "Message text"};
    const std::vector<MessageRow> rows = ReportOverviewOrder(tally);
    const std::size_t shown = std::min(rows.size(), kReportOverviewRows);
    for (std::size_t i = 0; i < shown; ++i) {
        const MessageRow& r = rows[i];
        table.rows.push_back({IntegerText(r.code), std::string(KindName(r.kind)), IntegerText(r.gInfo),
                              IntegerText(r.xInfo), StampText(r.first), StampText(r.last),
                              std::string(r.text)});
    }
    const std::size_t more = rows.size() - shown;
    moreCodes =
        more == 0 ? ""
                  : IntegerText(static_cast<std::int64_t>(more)) + (more == 1 ? " more code" : " more codes");
    return table;
}

} // namespace

ReportTable FaultEntryTable(const RecordStore& store, const std::vector<EntryRef>& entries) {
    ReportTable table;
    table.headings = {"No.", "Block", "Date", "Time", "Code", "Message text"};
    table.rows.reserve(entries.size());
    const std::string separator = UserDecimalSeparator();
    for (const EntryRef& entry : entries) {
        const InfoHead head = OverviewHeadOf(SlotOf(store, entry));
        table.rows.push_back({IntegerText(entry.index + 1), BlockName(entry.block), DateText(head.TimeStamp),
                              TimeText(head.TimeStamp), IntegerText(head.MessageCode),
                              MessageTextOfEntry(store, entry, separator)});
    }
    return table;
}

std::vector<MessageRow> ReportOverviewOrder(const MessageTally& tally) {
    std::vector<MessageRow> rows = tally.Rows();
    std::sort(rows.begin(), rows.end(), [](const MessageRow& a, const MessageRow& b) {
        const bool faultA = IsFaultMessage(a.code), faultB = IsFaultMessage(b.code);
        if (faultA != faultB)
            return faultA;
        if (a.Total() != b.Total())
            return a.Total() > b.Total();
        return a.code < b.code;
    });
    return rows;
}

std::vector<EntryRef> FaultEntriesInTimeOrder(const RecordStore& store) {
    struct Keyed {
        std::int64_t ms;
        EntryRef entry;
    };
    std::vector<Keyed> faults;
    auto collect = [&](InfoBlock block, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const EntryRef entry{block, static_cast<std::uint16_t>(i)};
            const InfoHead head = OverviewHeadOf(SlotOf(store, entry));
            if (IsFaultMessage(head.MessageCode))
                faults.push_back(
                    {EntryTimeMs(head.TimeStamp).value_or(std::numeric_limits<std::int64_t>::max()), entry});
        }
    };
    collect(InfoBlock::GInfo, store.GInfoSlots.size() / kGInfoSlotSize);
    collect(InfoBlock::XInfo, store.XInfoSlots.size() / kXInfoSlotSize);
    std::stable_sort(faults.begin(), faults.end(),
                     [](const Keyed& a, const Keyed& b) { return a.ms < b.ms; });
    std::vector<EntryRef> entries;
    entries.reserve(faults.size());
    for (const Keyed& k : faults)
        entries.push_back(k.entry);
    return entries;
}

ReportContent BuildReportContent(const ReadOutData& readOut, std::string_view madeAt) {
    const RecordStore& store = readOut.store;
    ReportContent content;
    MessageTally tally;
    TallyMessages(readOut, tally);
    std::vector<EntryRef> faults = FaultEntriesInTimeOrder(store);
    std::erase_if(faults, [&readOut](const EntryRef& entry) { return !readOut.in.Has(entry); });
    content.fileName = NameWithoutFolder(readOut.name);
    content.facts = Facts(readOut, madeAt, tally, faults.size());
    content.overview = Overview(tally, content.moreCodes);
    content.hasTemperatures = store.XInfo.EntryCount > 0 && !store.XInfoSlots.empty();
    content.faults = FaultEntryTable(store, faults);
    return content;
}

} // namespace lexorant
