#include "records/cell_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <iomanip>
#include <limits>
#include <ostream>
#include <string_view>

using namespace lexorant;

namespace {

struct FloatCase {
    double value;
    const char* point; // with '.' as separator
    const char* comma; // with ','
};

// The test runner names each case by this.
void PrintTo(const FloatCase& c, std::ostream* os) {
    *os << std::setprecision(17) << c.value;
}

class FloatTextTest : public testing::TestWithParam<FloatCase> {};

TEST_P(FloatTextTest, LaysOutFifteenSignificantDigits) {
    const FloatCase& c = GetParam();
    EXPECT_EQ(FloatText(c.value, "."), c.point);
    EXPECT_EQ(FloatText(c.value, ","), c.comma);
}

const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, FloatTextTest,
    testing::Values(FloatCase{0.0, "0", "0"}, FloatCase{-0.0, "0", "0"}, FloatCase{3.5, "3.5", "3,5"},
                    FloatCase{100.0, "100", "100"}, FloatCase{-1.25, "-1.25", "-1,25"},
                    FloatCase{123.456, "123.456", "123,456"}, FloatCase{-0.05, "-0.05", "-0,05"},
                    // Fixed notation ends where the rounded value reaches 1E15.
                    FloatCase{999999999999999.4, "999999999999999", "999999999999999"},
                    FloatCase{999999999999999.5, "1E15", "1E15"}, FloatCase{1e15, "1E15", "1E15"},
                    FloatCase{-1e15, "-1E15", "-1E15"},
                    FloatCase{123456789012345678.0, "1.23456789012346E17", "1,23456789012346E17"},
                    FloatCase{1.5e20, "1.5E20", "1,5E20"}, FloatCase{1e100, "1E100", "1E100"},
                    // ... and starts at 0.0001, again judged after rounding.
                    FloatCase{0.0001, "0.0001", "0,0001"},
                    FloatCase{0.00009999999999999999, "0.0001", "0,0001"},
                    FloatCase{9.99999999999999e-5, "9.99999999999999E-5", "9,99999999999999E-5"},
                    FloatCase{0.000123, "0.000123", "0,000123"}, FloatCase{5e-5, "5E-5", "5E-5"},
                    FloatCase{-2.5e-7, "-2.5E-7", "-2,5E-7"},
                    FloatCase{std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324",
                              "4,94065645841247E-324"},
                    // Single-precision values are shown widened, not re-rounded to their own precision.
                    FloatCase{double{FLT_MAX}, "3.40282346638529E38", "3,40282346638529E38"},
                    FloatCase{double{0.1f}, "0.100000001490116", "0,100000001490116"},
                    FloatCase{kNan, "NAN", "NAN"}, FloatCase{-kNan, "-NAN", "-NAN"},
                    FloatCase{kInf, "INF", "INF"}, FloatCase{-kInf, "-INF", "-INF"}));

TEST(FloatText, TakesAnySeparatorCharacter) {
    EXPECT_EQ(FloatText(23.45, "\u066B"), "23\u066B45");
}

TEST(ScaledText, HundredthsAndHalfHours) {
    const std::string_view point = ".";
    EXPECT_EQ(HundredthsText(2345, point), "23.45");
    EXPECT_EQ(HundredthsText(-5, point), "-0.05");
    EXPECT_EQ(HundredthsText(100, point), "1");
    EXPECT_EQ(HundredthsText(-32768, point), "-327.68");
    EXPECT_EQ(HundredthsText(32767, ","), "327,67");
    EXPECT_EQ(HalfHoursText(7, point), "3.5");
    EXPECT_EQ(HalfHoursText(0, point), "0");
    EXPECT_EQ(HalfHoursText(4294967295u, point), "2147483647.5");
}

TEST(IntegerText, PlainDecimalWithSign) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(-32768), "-32768");
    EXPECT_EQ(IntegerText(65535), "65535");
}

TEST(DateTimeText, BytesAsStoredWithAtLeastTwoDigits) {
    struct Case {
        InfoTimeStamp stamp;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {{9, 12, 24, 7, 5, 0}, "24.12.09", "07:05:00"},
        {{9, 12, 200, 7, 5, 0}, "200.12.09", "07:05:00"},
        {{}, "00.00.00", "00:00:00"},
        {{255, 100, 31, 99, 255, 60}, "31.100.255", "99:255:60"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateText(c.stamp), c.date);
        EXPECT_EQ(TimeText(c.stamp), c.time);
    }
}

} // namespace
