#pragma once
// What a comparison of two read-outs says in words: one wording for lexorant-cli and the window.
#include "compare/read_out_comparison.h"

#include <string>
#include <string_view>

namespace lexorant {

// "52 new, 146 known, 31 gone, 2 empty", then ", 40 not read" and ", 12 not read earlier" when
// the newer or the older read-out has entries that were never read.
std::string ComparisonCountsText(const ReadOutComparison& comparison, InfoBlock block);
// The same after the block's name: "G-Info: 52 new, 146 known, 31 gone, 2 empty".
std::string ComparisonCountsLine(const ReadOutComparison& comparison, InfoBlock block);

// "Since 4711-0815_02.inf: 52 new G-Info, 15 new X-Info entries": `olderName` without its folder.
std::string ComparisonSinceLine(const ReadOutComparison& comparison, std::string_view olderName);

} // namespace lexorant
