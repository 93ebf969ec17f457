#include "link/read_estimate.h"

#include <gtest/gtest.h>

using namespace lexorant;
using namespace std::chrono_literals;

namespace {

TEST(ReadEstimate, TimeLeftFollowsThePaceOfTheEntriesAskedAndKeptOnesCostNothing) {
    struct Case {
        int total, kept, asked;
        std::chrono::seconds elapsed;
        int finished;
        std::optional<std::chrono::seconds> left;
    };
    const Case cases[] = {
        {100, 0, 0, 0s, 0, std::nullopt},       // nothing asked yet: no pace
        {100, 0, 10, 20s, 10, 180s},            // 2 s an entry, 90 to go
        {100, 60, 10, 20s, 70, 60s},            // continued: 30 to go
        {100, 0, 100, 200s, 100, std::nullopt}, // done
        {10, 5, 7, 7s, 10, std::nullopt},       // entries asked again after a retry
    };
    const auto start = ReadEstimate::Clock::time_point{};
    for (const Case& c : cases) {
        ReadEstimate estimate(c.total, start);
        estimate.Kept(c.kept);
        for (int i = 0; i < c.asked; ++i)
            estimate.Asked();
        EXPECT_EQ(estimate.Finished(), c.finished) << c.kept << "+" << c.asked;
        EXPECT_EQ(estimate.Left(start + c.elapsed), c.left) << c.kept << "+" << c.asked;
    }
}

TEST(ReadEstimate, TimeLeftText) {
    EXPECT_EQ(TimeLeftText(0s), "about 0:00 left");
    EXPECT_EQ(TimeLeftText(725s), "about 12:05 left");
    EXPECT_EQ(TimeLeftText(8400s), "about 2:20:00 left");
}

} // namespace
