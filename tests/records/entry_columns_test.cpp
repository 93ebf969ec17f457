#include "records/entry_columns.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>

using namespace lexorant;

namespace {

std::string Value(const EntryLayout& layout, InfoBlock block, std::string_view column,
                  const std::uint8_t* slot) {
    const auto columns = FieldColumns(block);
    const auto fields = ColumnFields(layout, columns);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == column) {
            std::string out;
            AppendFieldValue(out, fields[i], slot);
            return out;
        }
    ADD_FAILURE() << "no column " << column;
    return {};
}

void Put16(std::uint8_t* slot, int offset, int value) {
    slot[offset] = static_cast<std::uint8_t>(value & 0xFF);
    slot[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
void Put32(std::uint8_t* slot, int offset, std::uint32_t value) {
    std::memcpy(slot + offset, &value, 4);
}

} // namespace

TEST(EntryColumns, EveryShownFieldOfEveryLayoutHasItsOwnColumn) {
    const std::pair<InfoBlock, const EntryLayout*> layouts[] = {{InfoBlock::GInfo, &GInfoLayout()},
                                                                {InfoBlock::XInfo, &XInfoLayout(0)},
                                                                {InfoBlock::XInfo, &XInfoLayout(1)},
                                                                {InfoBlock::XInfo, &XInfoLayout(2)},
                                                                {InfoBlock::XInfo, &XInfoLayout(3)}};
    for (const auto& [block, layout] : layouts) {
        const auto columns = FieldColumns(block);
        std::set<std::string_view> names;
        for (const EntryColumn& c : columns)
            EXPECT_TRUE(names.insert(c.name).second) << c.name;
        const auto fields = ColumnFields(*layout, columns);
        std::size_t found = 0;
        for (const FieldDef* f : fields)
            found += f != nullptr;
        // Date, time and message code have columns of their own.
        EXPECT_EQ(found, static_cast<std::size_t>(layout->RowCount() - 4)) << layout->RowCount();
    }
}

TEST(EntryColumns, ValuesAreExactNumbersAndTheGridsWords) {
    std::array<std::uint8_t, 96> slot{};
    Put16(slot.data(), 22, -32768);                                                                // TI
    Put32(slot.data(), 56, std::bit_cast<std::uint32_t>(0.1f));                                    // KpInt
    Put32(slot.data(), 60, std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN())); // TnInt
    Put32(slot.data(), 64, std::bit_cast<std::uint32_t>(-std::numeric_limits<float>::infinity())); // TvInt
    Put32(slot.data(), 80, 4294967295u); // type 2 PumpHours
    slot[12] = 0x01;                     // ActStatus: pump on
    slot[0] = 0;                         // EntryType 0: no mains bits
    const struct {
        const EntryLayout& layout;
        std::string_view column;
        std::string expected;
    } cases[] = {
        {XInfoLayout(2), "ti", "-327.68"},
        {XInfoLayout(2), "kp_int", "0.10000000149011612"},
        {XInfoLayout(2), "tn_int", ""},
        {XInfoLayout(2), "tv_int", ""},
        {XInfoLayout(2), "pump_hrs", "2147483647.5"},
        {XInfoLayout(2), "te", "0.0"},
        {XInfoLayout(2), "tc_ht", ""},
        {XInfoLayout(2), "pump", "on"},
        {XInfoLayout(2), "mains_frequency", ""},
        {XInfoLayout(2), "dsein1", "closed"},
        {XInfoLayout(1), "t0_ht", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Value(c.layout, InfoBlock::XInfo, c.column, slot.data()), c.expected) << c.column;
    EXPECT_DOUBLE_EQ(std::stod(Value(XInfoLayout(2), InfoBlock::XInfo, "kp_int", slot.data())), double{0.1f});
}

TEST(EntryColumns, TimeIsIsoWhereTheStampIsACalendarDate) {
    const struct {
        InfoTimeStamp stamp;
        std::string expected;
    } cases[] = {
        {{9, 12, 24, 7, 5, 0}, "2009-12-24 07:05:00"}, {{10, 13, 1, 0, 0, 0}, ""}, {{0, 0, 0, 0, 0, 0}, ""}};
    for (const auto& c : cases) {
        std::string out;
        AppendIsoTime(out, c.stamp);
        EXPECT_EQ(out, c.expected);
    }
}
