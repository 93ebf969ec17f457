#pragma once
// What a service report says about one read-out, as ready texts: the head's facts, the message
// overview and every fault entry. Without Qt; report_pdf lays it out on pages.
#include "readout/read_out_data.h"
#include "readout/record_store.h"
#include "records/message_overview.h"

#include <cstddef>
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

struct ReportContent {
    std::string fileName; // the read-out's file name, without its folder
    std::vector<ReportFact> facts;
    ReportTable overview;         // faults first, then most frequent; at most kReportOverviewRows
    std::string moreCodes;        // "N more codes" beyond the shown rows, or empty
    bool hasTemperatures = false; // the read-out has X-Info entries to chart
    ReportTable faults;           // every fault entry of both blocks, in time order
};

inline constexpr std::size_t kReportOverviewRows = 40;

// The overview's rows in report order: faults first, then by falling count, then by code.
std::vector<MessageRow> ReportOverviewOrder(const MessageTally& tally);

// The fault entries of both blocks by their time stamps; entries of equal or no valid time keep
// G-Info before X-Info and their order within a block, the undated ones last.
std::vector<EntryRef> FaultEntriesInTimeOrder(const RecordStore& store);

// The report of the read-out under its name (any folder is left out of the report); `madeAt` is when
// the report is made, as the caller's clock and locale say. Only the entries that are in count; of a
// partial read-out the facts say so, and how many of each block were read.
ReportContent BuildReportContent(const ReadOutData& readOut, std::string_view madeAt);

} // namespace lexorant
