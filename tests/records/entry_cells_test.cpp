// The cell texts of whole entry columns of both grids, as the field tables lay them out.
#include "records/entry_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

using namespace lexorant;

namespace {

// Rows 0 to the layout's last of one entry column; `number` (from 1) is row 0.
std::vector<std::string> ColumnTexts(const EntryLayout& layout, const std::uint8_t* slot, int number,
                                     std::string_view separator = ".") {
    std::vector<std::string> texts;
    for (int row = 0; row < layout.RowCount(); ++row)
        texts.push_back(CellText(layout, slot, number, row, separator));
    return texts;
}

namespace g_info {

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
    return ColumnTexts(GInfoLayout(), slot.data(), number);
}

Slot WithTimeStamp(Slot s) {
    const std::uint8_t stamp[] = {9, 12, 24, 7, 5, 0}; // year, month, day, hour, minute, second
    std::copy(std::begin(stamp), std::end(stamp), s.begin() + 1);
    s[7] = 0xFF; // not interpreted
    return s;
}

TEST(GInfoCells, WholeColumns) {
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

TEST(GInfoCells, CompressorStateAndSetpointSource) {
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

} // namespace g_info

namespace x_info {

using Slot = std::array<std::uint8_t, 96>;

void Put16(Slot& s, int offset, int value) {
    s[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value & 0xFF);
    s[static_cast<std::size_t>(offset) + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void Put32(Slot& s, int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        s[static_cast<std::size_t>(offset + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::vector<std::string> Texts(const Slot& slot, int xInfoType, std::string_view separator = ".") {
    return ColumnTexts(XInfoLayout(xInfoType), slot.data(), 1, separator);
}

TEST(XInfoCells, AllZeroEntryUnderType2) {
    const std::vector<std::string> expected = {
        "1",        "0",      "00.00.00", "00:00:00", "0",   "0",   "off", "off", "off",    "manual",
        "inactive", "???",    "???",      "0",        "off", "off", "off", "0",   "closed", "closed",
        "closed",   "closed", "closed",   "0",        "0",   "0",   "0",   "0",   "0",      "0",
        "0",        "0",      "0",        "0",        "0",   "0",   "0",   "0",   "0",      "0",
        "0",        "0",      "0",        "0",        "0",   "0",   "0",   "0",   "0",      "0"};
    EXPECT_EQ(Texts(Slot{}, 2), expected);
}

TEST(XInfoCells, HeadRowsMatchTheGInfoGridWithStatusWordsTwoBytesLater) {
    std::array<std::uint8_t, 16> g{};
    Slot x{};
    g[0] = x[0] = 1;
    for (std::size_t i = 1; i <= 6; ++i) {
        g[i] = x[i] = static_cast<std::uint8_t>(i * 11);
    }
    g[8] = x[8] = 0x9C; // message -100
    g[9] = x[9] = 0xFF;
    g[10] = x[12] = 0x9F; // ActStatus 039F
    g[11] = x[13] = 0x03;
    g[12] = x[14] = 0x0D; // ExtStatus 000D
    Put16(x, 10, 0x7777); // between message and status words: ignored
    const auto gTexts = ColumnTexts(GInfoLayout(), g.data(), 1);
    const auto xTexts = ColumnTexts(XInfoLayout(3), x.data(), 1);
    for (int row = 0; row < GInfoLayout().RowCount(); ++row) {
        EXPECT_EQ(xTexts[static_cast<std::size_t>(row)], gTexts[static_cast<std::size_t>(row)])
            << "row " << row;
    }
}

TEST(XInfoCells, DigitalInputs) {
    struct Case {
        std::uint8_t byte;
        std::vector<std::string> rows17to22;
    };
    const Case cases[] = {
        {0x13, {"19", "open", "open", "open", "closed", "closed"}},
        {0x10, {"16", "closed", "closed", "open", "closed", "closed"}}, // DEin1 is bit 4
        {0x04, {"4", "closed", "closed", "closed", "open", "closed"}},
        {0x08, {"8", "closed", "closed", "closed", "closed", "open"}},
        {0x9F, {"-97", "open", "open", "open", "open", "open"}},
        {0xE0, {"-32", "closed", "closed", "closed", "closed", "closed"}},
    };
    for (const Case& c : cases) {
        Slot s{};
        s[7] = c.byte;
        const auto texts = Texts(s, 0);
        EXPECT_EQ(std::vector<std::string>(texts.begin() + 17, texts.begin() + 23), c.rows17to22)
            << int{c.byte};
    }
}

// Every operating word (offsets 16 to 55) shows by its rule in its own row, with the separator given.
TEST(XInfoCells, OperatingValuesByTheirRule) {
    struct Case {
        TextRule rule;
        int value;
        const char* point;
        const char* comma;
    };
    const Case cases[] = {
        {TextRule::Hundredths, 2345, "23.45", "23,45"},  {TextRule::Hundredths, -5, "-0.05", "-0,05"},
        {TextRule::Hundredths, -32768, "-327.68", "-327,68"}, {TextRule::Hundredths, 9000, "90", "90"},
        {TextRule::Integer, -300, "-300", "-300"},       {TextRule::Integer, 1234, "1234", "1234"},
    };
    int checked = 0;
    for (const FieldDef* f : XInfoLayout(0).Fields()) {
        if (f->offset < 16 || f->offset >= 56 || f->row < 0)
            continue;
        ++checked;
        EXPECT_TRUE(f->rule == TextRule::Hundredths || f->rule == TextRule::Integer) << f->name;
        for (const Case& c : cases) {
            if (c.rule != f->rule)
                continue;
            Slot s{};
            Put16(s, f->offset, c.value);
            EXPECT_EQ(Texts(s, 0, ".")[static_cast<std::size_t>(f->row)], c.point) << f->name << " " << c.value;
            EXPECT_EQ(Texts(s, 0, ",")[static_cast<std::size_t>(f->row)], c.comma) << f->name << " " << c.value;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(XInfoCells, ControlParametersAreWidenedFloats) {
    Slot s{};
    const float values[] = {0.1f, 3.5f, -1.25f, 100.0f, 1e-5f, std::bit_cast<float>(0x7FC00000u)};
    const char* texts[] = {"0,100000001490116", "3,5", "-1,25", "100", "9,99999974737875E-6", "NAN"};
    for (int i = 0; i < 6; ++i) {
        Put32(s, 56 + 4 * i, std::bit_cast<std::uint32_t>(values[i]));
    }
    const auto column = Texts(s, 0, ",");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(column[static_cast<std::size_t>(42 + i)], texts[i]) << "row " << 42 + i;
    }
}

Slot TailSlot(std::uint8_t entryType) {
    Slot s{};
    s[0] = entryType;
    for (int i = 80; i < 96; ++i) {
        s[static_cast<std::size_t>(i)] = 0xEE; // overwritten below where a layout reads
    }
    return s;
}

TEST(XInfoCells, Tails) {
    struct Case {
        const char* name;
        int xInfoType;
        Slot slot;
        std::vector<std::string> tail;
    };
    Slot type1 = TailSlot(3);
    Put16(type1, 80, 1234);
    Put16(type1, 82, -50);
    Put16(type1, 84, 700);
    type1[86] = 0xFF;
    Slot type1Entry4 = type1;
    type1Entry4[0] = 4;

    Slot type2 = TailSlot(0);
    Put32(type2, 80, 4294967295u);
    Put32(type2, 84, 7);

    Slot type3 = TailSlot(0);
    Put16(type3, 80, 1234);
    Put16(type3, 82, -50);
    Put16(type3, 84, 700);
    type3[86] = 0x80;
    Put32(type3, 88, 3);
    Put32(type3, 92, 4294967295u);

    const std::vector<Case> cases = {
        {"type 1, entry type 3", 1, type1, {"12.34", "???", "???", "???"}},
        {"type 1, entry type 4", 1, type1Entry4, {"12.34", "-0.5", "7", "-1"}},
        {"type 2", 2, type2, {"2147483647.5", "3.5"}},
        {"type 3 whatever the entry type", 3, type3, {"12.34", "-0.5", "7", "-128", "1.5", "2147483647.5"}},
        {"type 0 has no tail", 0, type3, {}},
        {"type 4 has no tail", 4, type3, {}},
    };
    for (const Case& c : cases) {
        const auto texts = Texts(c.slot, c.xInfoType);
        ASSERT_EQ(texts.size(), 48 + c.tail.size()) << c.name;
        EXPECT_EQ(std::vector<std::string>(texts.begin() + 48, texts.end()), c.tail) << c.name;
    }
    // Type 3 shows its tail for an entry of type 0 while the mains rows still show "???".
    const auto type3Texts = Texts(type3, 3);
    EXPECT_EQ(type3Texts[11], "???");
    EXPECT_EQ(type3Texts[12], "???");
}

TEST(XInfoCells, RowsBeyondTheTypeAreEmpty) {
    const Slot s{};
    EXPECT_EQ(CellText(XInfoLayout(2), s.data(), 1, 50, "."), "");
    EXPECT_EQ(CellText(XInfoLayout(0), s.data(), 1, 48, "."), "");
    EXPECT_EQ(CellText(XInfoLayout(3), s.data(), 1, 54, "."), "");
    EXPECT_EQ(CellText(XInfoLayout(3), s.data(), 1, -1, "."), "");
}

} // namespace x_info

} // namespace
