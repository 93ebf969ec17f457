#pragma once
// One block of entries as a table file: the grid's rows as columns, one line per entry, then the
// message text. lexorant-cli show and the window's export write the same bytes through this.
#include "records/entry_layout.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lexorant {

enum class TableFormat {
    Tsv,  // tab between fields, "\n" after each line
    Csv,  // RFC 4180: quoted where needed, "\r\n"; ";" between fields where the decimal separator is ","
    Json, // an array of one object per entry, keyed by the field names, values in the fields' units
};

// `entries` in grid order; a null entry (a column nothing was shown in) gives a line of empty fields
// in TSV and CSV and is left out of JSON. Large blocks are formatted on two threads.
std::string FormatEntryTable(const EntryLayout& layout, std::span<const std::uint8_t* const> entries,
                             TableFormat format, std::string_view decimalSeparator);

// An entry of a table that shows chosen entries: its slot and its number in the block (1 for the first).
struct NumberedEntry {
    const std::uint8_t* slot = nullptr;
    int number = 0;
};

// The same table of chosen entries, each under its own number, in the order given (lexorant-cli
// compare prints the lines show prints for them).
std::string FormatNumberedEntryTable(const EntryLayout& layout, std::span<const NumberedEntry> entries,
                                     TableFormat format, std::string_view decimalSeparator);

// What separates CSV fields: ";" where the decimal separator is a comma, as a spreadsheet of that
// locale expects, "," elsewhere.
char CsvFieldSeparator(std::string_view decimalSeparator);

// `text` as one CSV field: quoted, with doubled quotes, when it holds the separator, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view text, char fieldSeparator);

// `text` as a JSON string, quotes included; UTF-8 is kept as it is.
void AppendJsonString(std::string& out, std::string_view text);

} // namespace lexorant
