#include "chart/chart_points.h"
#include "readout/entry_time.h"
#include "tests/chart/chart_slots.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lexorant;

namespace {

TEST(EntryTime, CalendarDatesAndTimesOnly) {
    struct Case {
        InfoTimeStamp stamp;
        bool valid;
    };
    const Case cases[] = {
        {{0, 1, 1, 0, 0, 0}, true},     {{24, 2, 29, 23, 59, 59}, true}, {{23, 2, 29, 12, 0, 0}, false},
        {{10, 13, 1, 0, 0, 0}, false},  {{10, 0, 1, 0, 0, 0}, false},    {{10, 4, 31, 0, 0, 0}, false},
        {{10, 4, 0, 0, 0, 0}, false},   {{10, 4, 30, 24, 0, 0}, false},  {{10, 4, 30, 0, 60, 0}, false},
        {{10, 4, 30, 0, 0, 60}, false}, {{255, 12, 31, 0, 0, 0}, true},  {{0, 0, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EntryTimeMs(c.stamp).has_value(), c.valid)
            << int(c.stamp.Year) << "-" << int(c.stamp.Month) << "-" << int(c.stamp.Day);
    // 2000-01-01 is 10957 days after 1970-01-01.
    EXPECT_EQ(*EntryTimeMs({0, 1, 1, 0, 0, 1}), 10957LL * 86400 * 1000 + 1000);
}

class ChartPointsTest : public ::testing::Test {
protected:
    // Entry 0 on the 2nd, entry 1 undated, entry 2 on the 1st: a log that wrapped.
    ChartPointsTest() : store_(test::XStore(1, 3)) {
        test::Stamp(store_.XInfoSlot(0), 20, 5, 2, 8, 0, 0);
        test::Stamp(store_.XInfoSlot(2), 20, 5, 1, 8, 0, 0);
        for (std::size_t i = 0; i < 3; ++i) {
            store_.XInfoSlot(i)[0] = i == 2 ? 4 : 1; // T0Ht only for entry 2
            test::Put16(store_.XInfoSlot(i), 22, 100 * static_cast<int>(i + 1));
        }
        fields_ = {FindTemperatureField(1, "TI"), FindTemperatureField(1, "T0Ht")};
    }
    RecordStore store_;
    std::vector<const TemperatureField*> fields_;
};

TEST_F(ChartPointsTest, ByTimeLeavesUndatedEntriesOutAndSortsByTime) {
    const ChartPoints p = BuildChartPoints(test::AllIn(store_), 3, ChartAxis::ByTime, fields_);
    EXPECT_EQ(p.entry, (std::vector<std::uint32_t>{2, 0}));
    EXPECT_EQ(p.undated, 1u);
    EXPECT_LT(p.x[0], p.x[1]);
    EXPECT_EQ(p.y[0], (std::vector<double>{3, 1}));
    EXPECT_EQ(p.y[1][0], 0);
    EXPECT_TRUE(std::isnan(p.y[1][1]));
}

TEST_F(ChartPointsTest, ByEntryKeepsEveryEntryInLogOrder) {
    const ChartPoints p = BuildChartPoints(test::AllIn(store_), 3, ChartAxis::ByEntry, fields_);
    EXPECT_EQ(p.x, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(p.entry, (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(p.undated, 1u);
    EXPECT_EQ(p.Nearest(2.4), 1u);
    EXPECT_EQ(p.Nearest(-5), 0u);
    EXPECT_EQ(p.Nearest(99), 2u);
    // Only the entries shown so far, never more than the block holds.
    EXPECT_EQ(BuildChartPoints(test::AllIn(store_), 2, ChartAxis::ByEntry, fields_).x.size(), 2u);
    EXPECT_EQ(BuildChartPoints(test::AllIn(store_), 9, ChartAxis::ByEntry, fields_).x.size(), 3u);
}

// Entry 1 was never read (a read that stopped, or an entry that failed): it is no point.
TEST_F(ChartPointsTest, EntriesNotReadAreLeftOut) {
    ReadOutData readOut = test::AllIn(store_);
    readOut.in = EntrySet(store_.GInfo, store_.XInfo);
    readOut.in.Add({InfoBlock::XInfo, 0});
    readOut.in.Add({InfoBlock::XInfo, 2});
    const ChartPoints p = BuildChartPoints(readOut, 3, ChartAxis::ByEntry, fields_);
    EXPECT_EQ(p.entry, (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(p.x, (std::vector<double>{1, 3}));
    EXPECT_EQ(p.undated, 0u);
}

} // namespace
