#pragma once
// What many read-outs logged: the messages of all of them summed, and a line per read-out. The files
// are read by several workers at once, each summing into its own tally; the tallies are merged at the end.
#include "records/message_overview.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lexorant::cli {

struct ReadOutLine {
    std::string file;
    std::string serial; // from inside a kept read-out or from the file name, else empty
    bool readable = false;
    bool damaged = false; // shorter than its header says
    bool partial = false; // a kept read-out of a read that has not ended
    std::size_t gInfo = 0;
    std::size_t xInfo = 0;
    std::optional<DatedStamp> first, last;
    std::uint32_t faults = 0;
    std::int16_t topFault = 0;
    std::uint32_t topFaultCount = 0; // 0: no fault
};

struct ReadOutSummary {
    MessageTally messages;
    std::vector<ReadOutLine> files; // in the order given; only `readable` unless perFile
};

// The ".inf" files of the paths: a file as given, a folder searched recursively for "*.inf" (any
// case), sorted by path within the folder. A path that is neither is kept, and fails to load.
std::vector<std::string> ReadOutFiles(const std::vector<std::string>& paths);

ReadOutSummary SummariseReadOuts(const std::vector<std::string>& files, bool perFile, unsigned workers);

// Rows by G-Info plus X-Info count, largest first, then by code.
std::vector<MessageRow> RowsByFrequency(const MessageTally& tally);

} // namespace lexorant::cli
