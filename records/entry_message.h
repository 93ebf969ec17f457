#pragma once
// The message text of an entry: what the status bar shows when a cell of the entry's column is
// selected. Every view that names an entry's message takes it from here.
#include "readout/entry_ref.h"
#include "readout/read_out_data.h"
#include "records/entry_layout.h"

#include <string>
#include <string_view>

namespace lexorant {

// The grid row that holds the message code as integer text, the one the lookup reads.
inline constexpr int kMessageRow = 4;

// The text of row 4 of the entry's column, `slot` being the entry's bytes laid out by `layout`, looked up
// in the catalogue with the number conventions of the user's regional settings (`decimalSeparator`):
// "Keine Meldung!" for the text "0", the catalogue's text for a code it holds, else the missing text.
std::string MessageTextOfSlot(const EntryLayout& layout, const std::uint8_t* slot,
                              std::string_view decimalSeparator);

// The same for an entry of the store, laid out as its block's grid lays it out.
std::string MessageTextOfEntry(const RecordStore& store, EntryRef entry, std::string_view decimalSeparator);

// The same for an entry that may not be in the read-out: its column then holds no text, which is no
// number, and the lookup fails with ConversionError as selecting a cell of that column does.
std::string MessageTextOfEntry(const ReadOutData& readOut, EntryRef entry, std::string_view decimalSeparator);

} // namespace lexorant
