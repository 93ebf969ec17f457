#pragma once
// The fields of one kind of entry laid out as its grid: row 0 holds the entry number, every other
// row exactly one field.
#include "records/field_table.h"
#include "readout/info_head.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lexorant {

class EntryLayout {
public:
    EntryLayout(std::initializer_list<std::span<const FieldDef>> tables, int recordSize);

    int RecordSize() const { return recordSize_; }
    // Rows of the grid, row 0 included.
    int RowCount() const { return static_cast<int>(byRow_.size()); }
    // Null for row 0 and outside the grid.
    const FieldDef* FieldAt(int row) const;
    // "No." for row 0, empty outside the grid.
    std::string_view Heading(int row) const;
    // Every field of the tables, the ones not interpreted included, in table order.
    const std::vector<const FieldDef*>& Fields() const { return fields_; }

private:
    int recordSize_;
    std::vector<const FieldDef*> fields_;
    std::vector<const FieldDef*> byRow_;
};

inline constexpr std::string_view kNumberHeading = "No.";

const EntryLayout& GInfoLayout();
// The fixed part and the tail of the type; any type but 1, 2 and 3 has no tail rows.
const EntryLayout& XInfoLayout(int xInfoType);

// Whether the entry can carry the field ("???" otherwise).
bool FieldCarried(const FieldDef& field, const std::uint8_t* slot);

// The stored value: the bytes read little-endian, sign-extended for a signed field; for a bit field
// the masked bits shifted down; the bit pattern for a float.
std::int64_t FieldRaw(const FieldDef& field, const std::uint8_t* slot);

// The value in the field's unit: hundredths divided by 100, half hours by 2, floats widened.
double FieldNumber(const FieldDef& field, const std::uint8_t* slot);

// The time stamp and the message code of an entry of either block, from their fields, which lie at the
// same place in both.
InfoTimeStamp EntryTimeStamp(const std::uint8_t* slot);
std::int16_t EntryMessageCode(const std::uint8_t* slot);

// The cell text, "???" included; empty for a field not shown.
void AppendFieldText(std::string& out, const FieldDef& field, const std::uint8_t* slot,
                     std::string_view decimalSeparator);

// The text of one grid cell of an entry column; `number` (from 1) is row 0.
void AppendCellText(std::string& out, const EntryLayout& layout, const std::uint8_t* slot, int number, int row,
                    std::string_view decimalSeparator);
std::string CellText(const EntryLayout& layout, const std::uint8_t* slot, int number, int row,
                     std::string_view decimalSeparator);

} // namespace lexorant
