#include "tests/chart/chart_slots.h"
#include "records/entry_fields.h"
#include "records/entry_layout.h"
#include "chart/temperature_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace lexorant;

namespace {

std::vector<std::string> Names(int xInfoType, bool onlyShownAtFirst = false) {
    std::vector<std::string> names;
    for (const TemperatureField& f : TemperatureFields(xInfoType))
        if (!onlyShownAtFirst || f.shownAtFirst)
            names.emplace_back(f.name);
    return names;
}

const std::vector<std::string> kFixed = {"MinSetpoint", "MaxSetpoint", "Setpoint", "TI", "TE", "TR", "TVE",
                                         "T0", "TC", "OtSpHeater", "OtSpExpVessel", "OtHeater1", "OtHeater2",
                                         "OtExpVessel"};

TEST(TemperatureFields, FixedPartForEveryTypeAndTailTemperaturesOfTypes1And3) {
    auto withTail = kFixed;
    withTail.insert(withTail.end(), {"TcHt", "T0Ht", "TveHt"});
    for (int type : {0, 2, 4, 65535})
        EXPECT_EQ(Names(type), kFixed) << type;
    EXPECT_EQ(Names(1), withTail);
    EXPECT_EQ(Names(3), withTail);
    for (int type : {0, 1, 2, 3})
        EXPECT_EQ(Names(type, true), (std::vector<std::string>{"Setpoint", "TI", "TR"})) << type;
    EXPECT_EQ(FindTemperatureField(2, "TcHt"), nullptr);
    EXPECT_EQ(FindTemperatureField(3, "TcHt")->name, "TcHt");
}

TEST(TemperatureFields, ValuesInDegreesAndGapsWhereTheGridShowsUnknown) {
    struct Case {
        int xInfoType, entryType;
        const char* field;
        int offset, raw;
        bool gap;
        double degrees;
    };
    const Case cases[] = {
        {3, 0, "TI", 22, -32768, false, -327.68},
        {3, 0, "Setpoint", 20, 2345, false, 23.45},
        {3, 0, "OtExpVessel", 48, -5, false, -0.05},
        {1, 3, "TcHt", 80, 1234, false, 12.34},
        {1, 3, "T0Ht", 82, 1234, true, 0},
        {1, 3, "TveHt", 84, 1234, true, 0},
        {1, 4, "T0Ht", 82, 1234, false, 12.34},
        {3, 0, "T0Ht", 82, -700, false, -7},
        {3, 0, "TveHt", 84, 100, false, 1},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, kXInfoSlotSize> slot{};
        slot[0] = static_cast<std::uint8_t>(c.entryType);
        test::Put16(slot.data(), c.offset, c.raw);
        const TemperatureField* field = FindTemperatureField(c.xInfoType, c.field);
        const auto value = field->Value(slot.data());
        EXPECT_EQ(value.has_value(), !c.gap) << c.field;
        // A gap exactly where the grid's cell of the field says the entry cannot carry it.
        EXPECT_EQ(CellText(XInfoLayout(c.xInfoType), slot.data(), 1, field->field->row, ".") == kNotCarriedText, c.gap)
            << c.field;
        if (value) {
            EXPECT_DOUBLE_EQ(*value, c.degrees) << c.field;
        }
    }
}

} // namespace
