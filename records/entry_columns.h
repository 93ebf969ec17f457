#pragma once
// The entry fields as typed table columns: one fixed snake_case name per field of a block's grid, the
// same whatever the X-Info type (a field the type lacks is an empty value), and the value of a field as
// an analytics engine reads it: integers plain, floats exactly, texts as the grid shows them.
#include "readout/entry_ref.h"
#include "records/entry_layout.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lexorant {

enum class ColumnType { Integer, Double, Text };

struct EntryColumn {
    std::string_view name;  // snake_case, from the grid row's heading
    std::string_view field; // the FieldDef it shows
    ColumnType type;
};

// The columns of a block's fields in grid order, without the entry number, the date, the time and the
// message code (tables give those columns of their own). X-Info: the fixed rows, then every tail row of
// every type.
std::span<const EntryColumn> FieldColumns(InfoBlock block);

// For each column, the layout's field of that name, or null where the layout has none.
std::vector<const FieldDef*> ColumnFields(const EntryLayout& layout, std::span<const EntryColumn> columns);

// The value of a field: nothing for a field null, not carried by the entry ("???") or a float that is no
// finite number; integers in plain decimal; hundredths, half hours and floats as the shortest decimal
// that reads back as the same double (a float widened unchanged), ".0" after a whole number; the grid's
// word for a bit field.
void AppendFieldValue(std::string& out, const FieldDef* field, const std::uint8_t* slot);

// "YYYY-MM-DD HH:MM:SS" of the entry's time stamp; nothing when it is no calendar date and time.
void AppendIsoTime(std::string& out, const InfoTimeStamp& stamp);

} // namespace lexorant
