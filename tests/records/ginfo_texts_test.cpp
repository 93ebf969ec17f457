#include "records/ginfo_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <vector>

using namespace lexorant;

namespace {

using Slot = std::array<std::uint8_t, 16>;

Slot GSlot(std::uint8_t entryType, int actStatus, int extStatus, int messageCode = 0) {
    Slot s{};
    s[0] = entryType;
    s[8] = static_cast<std::uint8_t>(messageCode & 0xFF);
    s[9] = static_cast<std::uint8_t>((messageCode >> 8) & 0xFF);
    s[10] = static_cast<std::uint8_t>(actStatus & 0xFF);
    s[11] = static_cast<std::uint8_t>((actStatus >> 8) & 0xFF);
    s[12] = static_cast<std::uint8_t>(extStatus & 0xFF);
    s[13] = static_cast<std::uint8_t>((extStatus >> 8) & 0xFF);
    return s;
}

std::vector<std::string> Texts(int number, const Slot& slot) {
    return GInfoColumnTexts(number, slot.data());
}

TEST(GInfoTexts, Headings) {
    const std::vector<std::string> headings = GInfoRowHeadings();
    const std::vector<std::string> expected = {
        "No.",           "Type",       "Date",       "Time",     "Message",      "Act. Status",
        "Pump",          "Compressor", "Heater",     "Setpoint", "2nd Setpoint", "Mains Frequency",
        "Mains Voltage", "Ext.Status", "Compressor", "Fan",      "NTR"};
    EXPECT_EQ(headings, expected);
}

Slot WithTimeStamp(Slot s) {
    const std::uint8_t stamp[] = {9, 12, 24, 7, 5, 0}; // year, month, day, hour, minute, second
    std::copy(std::begin(stamp), std::end(stamp), s.begin() + 1);
    s[7] = 0xFF; // not interpreted
    return s;
}

TEST(GInfoTexts, WholeColumns) {
    struct Case {
        const char* name;
        int number;
        Slot slot;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"all zero",
         1,
         Slot{},
         {"1", "0", "00.00.00", "00:00:00", "0", "0", "off", "off", "off", "manual", "inactive", "???", "???",
          "0", "off", "off", "off"}},
        {"type 1, every bit",
         2,
         WithTimeStamp(GSlot(1, 0x039F, 0x000D)),
         {"2", "1", "24.12.09", "07:05:00", "0", "927", "on", "stopping", "on", "ramp", "active", "60 Hz",
          "400 V", "13", "on", "on", "on"}},
        {"type 0 hides the mains bits",
         3,
         GSlot(0, 0x039F, 0x000D),
         {"3", "0", "00.00.00", "00:00:00", "0", "927", "on", "stopping", "on", "ramp", "active", "???",
          "???", "13", "on", "on", "on"}},
        {"type 2, mains bits clear, negative words",
         65535,
         GSlot(2, 0x8022, 0xFFF2, 0xFFFF),
         {"65535", "2", "00.00.00", "00:00:00", "-1", "-32734", "off", "starting", "off", "program",
          "inactive", "50 Hz", "230 V", "-14", "off", "off", "off"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Texts(c.number, c.slot), c.expected) << c.name;
    }
}

TEST(GInfoTexts, CompressorStateAndSetpointSource) {
    const char* compressor[] = {"off", "starting", "on", "stopping"};
    for (int state = 0; state < 4; ++state) {
        EXPECT_EQ(Texts(1, GSlot(1, state << 1, 0))[7], compressor[state]);
    }
    const char* source[] = {"manual",     "ramp",    "program", "AIF",
                            "ext. Pt100", "unknown", "unknown", "unknown"};
    for (int value = 0; value < 8; ++value) {
        EXPECT_EQ(Texts(1, GSlot(1, value << 4, 0))[9], source[value]) << value;
    }
}

} // namespace
