#include "records/entry_table.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace lexorant;

namespace {

using XSlot = std::array<std::uint8_t, 96>;

void Put(XSlot& s, int offset, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        s[static_cast<std::size_t>(offset + i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string Json(const EntryLayout& layout, const XSlot& slot) {
    const std::vector<const std::uint8_t*> entries = {slot.data()};
    return FormatEntryTable(layout, entries, TableFormat::Json, ",");
}

TEST(EntryTableJson, EachNumberRuleInTheFieldsUnit) {
    XSlot s{};
    s[0] = 3;                                                         // EntryType: type 1 leaves T0Ht out
    Put(s, 8, static_cast<std::uint16_t>(-4), 2);                     // MessageCode
    Put(s, 20, 2345, 2);                                              // Setpoint, hundredths
    Put(s, 22, static_cast<std::uint16_t>(-5), 2);                    // TI
    Put(s, 52, 100, 2);                                               // HeatLimit, unscaled
    Put(s, 56, std::bit_cast<std::uint32_t>(0.1f), 4);                // KpInt
    Put(s, 60, std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN()), 4);
    Put(s, 64, std::bit_cast<std::uint32_t>(-std::numeric_limits<float>::infinity()), 4);
    Put(s, 80, 1234, 2); // TcHt
    const std::string type1 = Json(XInfoLayout(1), s);
    for (const char* part : {"\"No.\":1,\"EntryType\":3,\"Date\":\"00.00.00\"", "\"MessageCode\":-4,",
                             "\"PumpOn\":\"off\",", "\"Mains60Hz\":\"50 Hz\",", "\"SetpointSource\":\"manual\",",
                             "\"Setpoint\":23.45,", "\"TI\":-0.05,", "\"HeatLimit\":100,", "\"KpInt\":0.1,",
                             "\"TnInt\":null,", "\"TvInt\":null,", "\"TcHt\":12.34,", "\"T0Ht\":null,",
                             "\"ExpValveHt\":null,"}) {
        EXPECT_NE(type1.find(part), std::string::npos) << part << " in " << type1;
    }
    EXPECT_EQ(type1.substr(0, 3), "[\n{");
    EXPECT_EQ(type1.substr(type1.size() - 4), "}\n]\n") << type1;

    Put(s, 80, 7, 4); // PumpHours 3.5
    const std::string type2 = Json(XInfoLayout(2), s);
    EXPECT_NE(type2.find("\"PumpHours\":3.5,"), std::string::npos) << type2;
    EXPECT_EQ(type2.find("TcHt"), std::string::npos) << type2;
}

TEST(EntryTableJson, EntriesOnBothThreadsMakeOneArray) {
    std::vector<std::array<std::uint8_t, 16>> slots(5000);
    std::vector<const std::uint8_t*> entries;
    for (auto& s : slots)
        entries.push_back(s.data());
    entries[2] = nullptr; // a column nothing was shown in
    const std::string json = FormatEntryTable(GInfoLayout(), entries, TableFormat::Json, ".");
    std::size_t objects = 0;
    for (std::size_t at = json.find("{\"No.\""); at != std::string::npos; at = json.find("{\"No.\"", at + 1)) {
        ++objects;
        EXPECT_TRUE(json.compare(at - 2, 2, ",\n") == 0 || at == 2) << "object at " << at;
    }
    EXPECT_EQ(objects, 4999u);
    EXPECT_EQ(json.find("\"No.\":3,"), std::string::npos);
    EXPECT_NE(json.find("\"No.\":5000,"), std::string::npos);
}

TEST(EntryTable, CsvQuotesOnlyWhatNeedsIt) {
    struct Case {
        const char* text;
        char separator;
        const char* field;
    };
    const Case cases[] = {
        {"23,45", ';', "23,45"},       {"a;b", ';', "\"a;b\""},     {"a,b", ',', "\"a,b\""},
        {"say \"x\"", ',', "\"say \"\"x\"\"\""}, {"two\nlines", ',', "\"two\nlines\""}, {"cr\r", ';', "\"cr\r\""},
        {"", ',', ""},
    };
    for (const Case& c : cases) {
        std::string out;
        AppendCsvField(out, c.text, c.separator);
        EXPECT_EQ(out, c.field) << c.text;
    }
}

TEST(EntryTable, JsonStringsEscapeQuotesBackslashesAndControls) {
    std::string out;
    AppendJsonString(out, "\"a\\b\"\t\x01 \xC3\xBC");
    EXPECT_EQ(out, "\"\\\"a\\\\b\\\"\\u0009\\u0001 \xC3\xBC\"");
}

TEST(EntryTable, CsvWithACommaLocaleSeparatesBySemicolons) {
    XSlot s{};
    Put(s, 80, 7, 4);
    const std::vector<const std::uint8_t*> entries = {s.data(), nullptr};
    const std::string csv = FormatEntryTable(XInfoLayout(2), entries, TableFormat::Csv, ",");
    const std::string heading = csv.substr(0, csv.find("\r\n"));
    EXPECT_EQ(heading.rfind("No.;Type;Date;Time;Message;", 0), 0u) << heading;
    EXPECT_NE(heading.find(";Pump hrs;Compressor hrs;Message text"), std::string::npos) << heading;
    EXPECT_NE(csv.find("\r\n1;0;00.00.00;00:00:00;0;"), std::string::npos) << csv;
    EXPECT_NE(csv.find(";3,5;0;Keine Meldung!\r\n"), std::string::npos) << csv;
    EXPECT_EQ(csv.substr(csv.size() - 52), std::string(50, ';') + "\r\n"); // the empty column: 51 empty fields
}

} // namespace
