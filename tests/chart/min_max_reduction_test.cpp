#include "chart/min_max_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace lexorant;

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

std::vector<double> Numbers(std::size_t n) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = static_cast<double>(i + 1);
    return x;
}

bool Contains(const std::vector<XYPoint>& points, double x, double y) {
    return std::any_of(points.begin(), points.end(), [&](const XYPoint& p) { return p.x == x && p.y == y; });
}

TEST(ReduceMinMax, ASingleOutlierAmong65535StaysVisibleAtEveryZoomLevel) {
    constexpr std::size_t kCount = 65535;
    const auto x = Numbers(kCount);
    std::vector<double> y(kCount);
    for (std::size_t i = 0; i < kCount; ++i)
        y[i] = 20 + std::sin(static_cast<double>(i) / 50.0);
    for (const std::size_t outlier : {std::size_t{0}, std::size_t{31337}, kCount - 1}) {
        auto spiked = y;
        spiked[outlier] = 95;
        const double at = x[outlier];
        // From the whole log down to a handful of entries, with the spike anywhere in the view.
        for (double width = kCount; width >= 4; width /= 2) {
            for (const double place : {0.0, 0.01, 0.5, 0.99, 1.0}) {
                const double from = at - width * place;
                for (const int columns : {1, 37, 800}) {
                    const auto reduced = ReduceMinMax(x, spiked, from, from + width, columns);
                    ASSERT_TRUE(Contains(reduced, at, 95))
                        << "outlier " << outlier << " width " << width << " place " << place << " columns " << columns;
                    ASSERT_LE(reduced.size(), 2u * static_cast<std::size_t>(columns) + 4);
                }
            }
        }
    }
}

TEST(ReduceMinMax, KeepsMinAndMaxPerColumnAndOnePointBeyondEachEdge) {
    const auto x = Numbers(10);
    const std::vector<double> y = {5, 1, 9, 3, 3, 7, 2, 8, 4, 6};
    // Two columns over entries 3 to 8 (3..5.5 and 5.5..8), with entries 2 and 9 beyond the edges. The
    // first column (9, 3, 3) starts at its minimum, the nearer to the line's last value 1; the second
    // has two points and keeps their order.
    const auto reduced = ReduceMinMax(x, y, 3, 8, 2);
    const std::vector<std::pair<double, double>> expected = {{2, 1}, {4, 3}, {3, 9}, {6, 7}, {7, 2}, {8, 8}, {9, 4}};
    ASSERT_EQ(reduced.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(reduced[i].x, expected[i].first) << i;
        EXPECT_EQ(reduced[i].y, expected[i].second) << i;
    }
    // More columns than points: every point as it is.
    EXPECT_EQ(ReduceMinMax(x, y, 1, 10, 1000).size(), 10u);
}

TEST(ReduceMinMax, ColumnsWithoutAnyValueBreakTheLine) {
    const auto x = Numbers(8);
    const std::vector<double> y = {1, 2, kGap, kGap, kGap, kGap, 3, kGap};
    const auto reduced = ReduceMinMax(x, y, 1, 8, 100);
    ASSERT_EQ(reduced.size(), 4u);
    EXPECT_EQ(reduced[1].y, 2);
    EXPECT_TRUE(std::isnan(reduced[2].y)); // one break for the whole run
    EXPECT_EQ(reduced[3].y, 3);            // and none after the last value
    // Zoomed out, a column with some values draws them.
    const auto coarse = ReduceMinMax(x, y, 1, 8, 1);
    EXPECT_TRUE(std::none_of(coarse.begin(), coarse.end(), [](const XYPoint& p) { return std::isnan(p.y); }));
    EXPECT_TRUE(ReduceMinMax(x, std::vector<double>(8, kGap), 1, 8, 10).empty());
}

TEST(ReduceMinMax, NothingForAnEmptyOrDegenerateView) {
    const auto x = Numbers(4);
    const std::vector<double> y(4, 1.0);
    EXPECT_TRUE(ReduceMinMax({}, {}, 0, 1, 10).empty());
    EXPECT_TRUE(ReduceMinMax(x, y, 2, 2, 10).empty());
    EXPECT_TRUE(ReduceMinMax(x, y, 1, 4, 0).empty());
}

} // namespace
