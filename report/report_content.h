#pragma once
// What a service report says about one read-out, as ready texts: the head's facts, the message
// overview and every fault entry. Without Qt; report_pdf lays it out on pages.
#include "readout/read_out_data.h"
#include "readout/record_store.h"
#include "records/message_overview.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lexorant {

struct ReportFact {
    std::string label;
    std::string value;
};

// Rows of cell texts under one heading per column.
struct ReportTable {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
};

// What changed since an older read-out of the unit (report/since_section.h).
struct ReportSince {
    std::vector<ReportFact> facts; // the older read-out, its last valid time stamp, the counts of each block
    ReportTable newFaults;         // the new fault entries, in time order
    ReportTable newCodes;          // the codes of new entries that no entry of the older read-out has
};

struct ReportContent {
    std::string fileName; // the read-out's file name, without its folder
    std::vector<ReportFact> facts;
    ReportTable overview;         // faults first, then most frequent; at most kReportOverviewRows
    std::string moreCodes;        // "N more codes" beyond the shown rows, or empty
    bool hasTemperatures = false; // the read-out has X-Info entries to chart
    ReportTable faults;               // every fault entry of both blocks, in time order
    std::optional<ReportSince> since; // only for a report against an older read-out
};

inline constexpr std::size_t kReportOverviewRows = 40;

// The overview's rows in report order: faults first, then by falling count, then by code.
std::vector<MessageRow> ReportOverviewOrder(const MessageTally& tally);

// The fault entries of both blocks by their time stamps; entries of equal or no valid time keep
// G-Info before X-Info and their order within a block, the undated ones last.
std::vector<EntryRef> FaultEntriesInTimeOrder(const RecordStore& store);

// The entries as the fault table lists them: number, block, date, time, code and message text.
ReportTable FaultEntryTable(const RecordStore& store, const std::vector<EntryRef>& entries);

// The report of the read-out under its name (any folder is left out of the report); `madeAt` is when
// the report is made, as the caller's clock and locale say. Only the entries that are in count; of a
// partial read-out the facts say so, and how many of each block were read.
ReportContent BuildReportContent(const ReadOutData& readOut, std::string_view madeAt);

} // namespace lexorant
