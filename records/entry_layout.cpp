#include "records/entry_layout.h"

#include "records/cell_text.h"
#include "records/entry_fields.h"
#include "readout/record_store.h"

#include <bit>
#include <stdexcept>

namespace lexorant {

EntryLayout::EntryLayout(std::initializer_list<std::span<const FieldDef>> tables, int recordSize)
    : recordSize_(recordSize), byRow_(1, nullptr) {
    for (const auto& table : tables) {
        for (const FieldDef& f : table) {
            fields_.push_back(&f);
            if (f.row < 0)
                continue;
            const auto row = static_cast<std::size_t>(f.row);
            if (row >= byRow_.size())
                byRow_.resize(row + 1, nullptr);
            if (row == 0 || byRow_[row] != nullptr)
                throw std::logic_error("two fields in one grid row");
            byRow_[row] = &f;
        }
    }
}

const FieldDef* EntryLayout::FieldAt(int row) const {
    return row > 0 && row < RowCount() ? byRow_[static_cast<std::size_t>(row)] : nullptr;
}

std::string_view EntryLayout::Heading(int row) const {
    if (row == 0)
        return kNumberHeading;
    const FieldDef* f = FieldAt(row);
    return f ? f->heading : std::string_view();
}

const EntryLayout& GInfoLayout() {
    static const EntryLayout layout({kGInfoFields}, static_cast<int>(kGInfoSlotSize));
    return layout;
}

const EntryLayout& XInfoLayout(int xInfoType) {
    static const EntryLayout none({kXInfoFields, kXInfoNoTailFields}, static_cast<int>(kXInfoSlotSize));
    static const EntryLayout type1({kXInfoFields, kXInfoTail1Fields}, static_cast<int>(kXInfoSlotSize));
    static const EntryLayout type2({kXInfoFields, kXInfoTail2Fields}, static_cast<int>(kXInfoSlotSize));
    static const EntryLayout type3({kXInfoFields, kXInfoTail3Fields}, static_cast<int>(kXInfoSlotSize));
    switch (xInfoType) {
    case 1:
        return type1;
    case 2:
        return type2;
    case 3:
        return type3;
    default:
        return none;
    }
}

namespace {

constexpr const FieldDef& kDate = FieldNamed(kGInfoFields, "Date");
constexpr const FieldDef& kTime = FieldNamed(kGInfoFields, "Time");
constexpr const FieldDef& kMessageCode = FieldNamed(kGInfoFields, "MessageCode");
static_assert(kDate.offset == FieldNamed(kXInfoFields, "Date").offset &&
                  kTime.offset == FieldNamed(kXInfoFields, "Time").offset &&
                  kMessageCode.offset == FieldNamed(kXInfoFields, "MessageCode").offset,
              "both blocks keep the time stamp and the message code at the same place");

} // namespace

InfoTimeStamp EntryTimeStamp(const std::uint8_t* slot) {
    const std::uint8_t* date = slot + kDate.offset; // year, month, day
    const std::uint8_t* time = slot + kTime.offset; // hour, minute, second
    return {date[0], date[1], date[2], time[0], time[1], time[2]};
}

std::int16_t EntryMessageCode(const std::uint8_t* slot) {
    return static_cast<std::int16_t>(FieldRaw(kMessageCode, slot));
}

bool FieldCarried(const FieldDef& field, const std::uint8_t* slot) {
    return slot[0] >= field.carriedFromEntryType;
}

std::int64_t FieldRaw(const FieldDef& field, const std::uint8_t* slot) {
    const std::uint8_t* p = slot + field.offset;
    std::uint32_t bits = 0;
    for (int i = field.size < 4 ? field.size : 4; i-- > 0;)
        bits = (bits << 8) | p[i];
    if (field.rule == TextRule::Bits)
        return (bits & field.mask) >> std::countr_zero(field.mask);
    if (field.kind == FieldKind::Signed) {
        const int unused = 32 - 8 * field.size;
        return static_cast<std::int32_t>(bits << unused) >> unused;
    }
    return bits;
}

double FieldNumber(const FieldDef& field, const std::uint8_t* slot) {
    const std::int64_t raw = FieldRaw(field, slot);
    switch (field.rule) {
    case TextRule::Float:
        return std::bit_cast<float>(static_cast<std::uint32_t>(raw));
    case TextRule::Hundredths:
        return static_cast<double>(raw) / 100.0;
    case TextRule::HalfHours:
        return static_cast<double>(raw) / 2.0;
    default:
        return static_cast<double>(raw);
    }
}

void AppendFieldText(std::string& out, const FieldDef& field, const std::uint8_t* slot,
                     std::string_view decimalSeparator) {
    if (field.rule == TextRule::None)
        return;
    if (!FieldCarried(field, slot)) {
        out += kNotCarriedText;
        return;
    }
    switch (field.rule) {
    case TextRule::Integer:
        AppendIntegerText(out, FieldRaw(field, slot));
        return;
    case TextRule::Hundredths:
    case TextRule::Float:
    case TextRule::HalfHours:
        AppendFloatText(out, FieldNumber(field, slot), decimalSeparator);
        return;
    case TextRule::Date:
        AppendDateText(out, EntryTimeStamp(slot));
        return;
    case TextRule::Time:
        AppendTimeText(out, EntryTimeStamp(slot));
        return;
    case TextRule::Bits:
        out += field.texts[static_cast<std::size_t>(FieldRaw(field, slot))];
        return;
    case TextRule::None:
        return;
    }
}

void AppendCellText(std::string& out, const EntryLayout& layout, const std::uint8_t* slot, int number, int row,
                    std::string_view decimalSeparator) {
    if (row == 0) {
        AppendIntegerText(out, number);
    } else if (const FieldDef* f = layout.FieldAt(row)) {
        AppendFieldText(out, *f, slot, decimalSeparator);
    }
}

std::string CellText(const EntryLayout& layout, const std::uint8_t* slot, int number, int row,
                     std::string_view decimalSeparator) {
    std::string out;
    AppendCellText(out, layout, slot, number, row, decimalSeparator);
    return out;
}

} // namespace lexorant
