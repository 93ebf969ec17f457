#pragma once
// The rows a read-out gives the dataset, as RFC 4180 CSV with a header line: one row per entry that is
// in, for each block, and one row that describes the read-out.
#include "readout/entry_ref.h"
#include "readout/read_out_data.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lexorant {

// The columns of a block's table, in order.
std::vector<std::string> BlockTableColumns(InfoBlock block);

// Hands the CSV of a block's table to sink in pieces of some hundred kilobytes (so that memory does not
// grow with the block); stops and returns false as soon as sink does. readOut is the read-out's path,
// the first column of every row.
bool WriteBlockTable(const ReadOutData& data, InfoBlock block, std::string_view readOut,
                     const std::function<bool(std::string_view)>& sink);

// The columns of the read-outs' table, in order.
std::vector<std::string> ReadOutTableColumns();

// The header line and the one row of the read-outs' table for the read-out.
std::string ReadOutTable(const ReadOutData& data, std::string_view readOut);

} // namespace lexorant
