#include "report/report_content.h"

#include "tests/support/hand_made_read_out.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lexorant;

namespace {

using Entry = test::HandEntry;

// Every entry in.
ReadOutData Store(const std::vector<Entry>& g, const std::vector<Entry>& x, std::uint16_t xType = 2,
                  std::string name = "unit.inf", std::string serial = "") {
    ReadOutData readOut;
    readOut.store = test::HandMadeReadOut(g, x, xType);
    readOut.in = EntrySet::All(readOut.store.GInfo, readOut.store.XInfo);
    readOut.name = std::move(name);
    readOut.serial = std::move(serial);
    return readOut;
}

std::vector<Entry> Repeated(int code, int times) {
    return std::vector<Entry>(static_cast<std::size_t>(times), {code});
}

std::vector<std::string> Column(const ReportTable& table, std::size_t column) {
    std::vector<std::string> cells;
    for (const auto& row : table.rows)
        cells.push_back(row.at(column));
    return cells;
}

std::string Fact(const ReportContent& c, const std::string& label) {
    for (const ReportFact& f : c.facts)
        if (f.label == label)
            return f.value;
    return "(none)";
}

} // namespace

TEST(ReportContent, OverviewPutsFaultsFirstThenTheMostFrequent) {
    struct Case {
        const char* what;
        std::vector<Entry> g;
        std::vector<std::string> codes;
    };
    auto join = [](std::vector<std::vector<Entry>> parts) {
        std::vector<Entry> all;
        for (auto& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const Case cases[] = {
        {"a rare fault before a frequent event",
         join({Repeated(-16385, 9), Repeated(-9, 1), Repeated(0, 5)}),
         {"-9", "-16385", "0"}},
        // -2 is not in the catalogue but lies among the fault codes.
        {"faults by count, ties by code",
         join({Repeated(-1, 2), Repeated(-4, 3), Repeated(-15, 2), Repeated(-2, 1)}),
         {"-4", "-15", "-1", "-2"}},
        {"a warning is no fault",
         join({Repeated(-2111, 1), Repeated(-4106, 2), Repeated(-20000, 1)}),
         {"-20000", "-4106", "-2111"}},
    };
    for (const Case& c : cases) {
        const ReportContent content = BuildReportContent(Store(c.g, {}), "");
        EXPECT_EQ(Column(content.overview, 0), c.codes) << c.what;
        EXPECT_EQ(content.moreCodes, "") << c.what;
    }
}

TEST(ReportContent, OverviewShowsFortyCodesAndSaysHowManyMore) {
    struct Case {
        int codes;
        std::size_t rows;
        const char* more;
    };
    const Case cases[] = {{40, 40, ""}, {41, 40, "1 more code"}, {300, 40, "260 more codes"}};
    for (const Case& c : cases) {
        std::vector<Entry> g;
        // Codes -110 to -149 twice, the others once: those 40 are shown, equal counts by code.
        for (int i = 0; i < c.codes; ++i)
            for (int n = 0; n < (i < 40 ? 2 : 1); ++n)
                g.push_back({-110 - i});
        const ReportContent content = BuildReportContent(Store(g, {}), "");
        EXPECT_EQ(content.overview.rows.size(), c.rows) << c.codes;
        EXPECT_EQ(content.overview.rows.front().at(0), "-149") << c.codes;
        EXPECT_EQ(content.overview.rows.back().at(0), "-110") << c.codes;
        EXPECT_EQ(content.moreCodes, c.more) << c.codes;
    }
}

TEST(ReportContent, FaultEntriesOfBothBlocksInTimeOrderUndatedLast) {
    const InfoTimeStamp early{9, 12, 24, 7, 5, 0}, later{9, 12, 24, 7, 5, 1}, nextYear{10, 1, 1, 0, 0, 0};
    const InfoTimeStamp invalid{9, 13, 1, 0, 0, 0};
    const ReadOutData s = Store({{-1, nextYear}, {-16385, early}, {-4, invalid}, {-9, later}},
                                {{-15, later}, {-4300, early}, {0, early}});
    const ReportContent c = BuildReportContent(s, "");
    // Equal times keep G-Info before X-Info; an entry whose date is no date comes last.
    EXPECT_EQ(Column(c.faults, 0), (std::vector<std::string>{"2", "4", "1", "1", "3"}));
    EXPECT_EQ(Column(c.faults, 1),
              (std::vector<std::string>{"X-Info", "G-Info", "X-Info", "G-Info", "G-Info"}));
    EXPECT_EQ(c.faults.rows.front(),
              (std::vector<std::string>{"2", "X-Info", "24.12.09", "07:05:00", "-4300",
                                        "Der Füllstand ist abgesunken. Bitte füllen Sie nach!"}));
    EXPECT_EQ(c.faults.rows.back().at(2), "01.13.09");
    EXPECT_EQ(Fact(c, "Fault entries"), "5");
}

TEST(ReportContent, HeadTellsTheReadOut) {
    struct Case {
        const char* fileName;
        std::vector<Entry> g;
        const char* readOut;
        const char* serial; // as the read-out knows it
        const char* span;
    };
    const InfoTimeStamp a{9, 12, 24, 7, 5, 0}, b{10, 1, 2, 3, 4, 5}, noDate{0, 0, 0, 0, 0, 0};
    const Case cases[] = {
        {"/mnt/o/geraete/Lexorant/4711-0815_07.inf",
         {{0, b}, {-1, noDate}, {-4, a}},
         "4711-0815_07.inf",
         "4711-0815",
         "24.12.09 07:05:00 to 02.01.10 03:04:05"},
        {"O:\\geraete\\Lexorant\\A_B_123.INF",
         {{0, a}},
         "A_B_123.INF",
         "A_B",
         "24.12.09 07:05:00 to 24.12.09 07:05:00"},
        {"unit.inf", {{-1, noDate}}, "unit.inf", "", "no entry has a valid time stamp"},
    };
    for (const Case& c : cases) {
        const ReportContent content =
            BuildReportContent(Store(c.g, {{0, noDate}}, 3, c.fileName, c.serial), "09.12.2026 10:15");
        EXPECT_EQ(Fact(content, "Read-out"), c.readOut) << c.fileName;
        EXPECT_EQ(content.fileName, c.readOut) << c.fileName;
        EXPECT_EQ(Fact(content, "Serial number"), *c.serial ? c.serial : "(none)") << c.fileName;
        EXPECT_EQ(Fact(content, "Time span"), c.span) << c.fileName;
        EXPECT_EQ(Fact(content, "Report made"), "09.12.2026 10:15") << c.fileName;
        EXPECT_EQ(Fact(content, "G-Info entries"), std::to_string(c.g.size())) << c.fileName;
        EXPECT_EQ(Fact(content, "X-Info entries"), "1 (X-Info type 3)") << c.fileName;
    }
}

// A kept read-out of a read that has not ended: only the entries read count, and the report says so.
TEST(ReportContent, APartialReadOutCountsOnlyTheEntriesRead) {
    ReadOutData partial = Store({{-9}, {-9}, {0}}, {{-4106}}, 2, "/state/4711.partial", "4711");
    partial.partial = true;
    partial.in = EntrySet(partial.store.GInfo, partial.store.XInfo);
    partial.in.Add({InfoBlock::GInfo, 0});
    partial.in.Add({InfoBlock::GInfo, 2});
    const ReportContent c = BuildReportContent(partial, "");
    EXPECT_EQ(Fact(c, "Read-out"), "4711.partial (partial: the read has not ended)");
    EXPECT_EQ(Fact(c, "Serial number"), "4711");
    EXPECT_EQ(Fact(c, "G-Info entries"), "2 of 3 read");
    EXPECT_EQ(Fact(c, "X-Info entries"), "0 of 1 read (X-Info type 2)");
    EXPECT_EQ(Column(c.faults, 0), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Column(c.overview, 0), (std::vector<std::string>{"-9", "0"}));
}
