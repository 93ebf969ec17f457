#include "identification.h"

#include "serial_port.h"
#include "sim/unit.h"
#include "sim_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <time.h>

using namespace lexorant;
using namespace std::chrono_literals;
using test::SimLine;

namespace {

sim::SimUnit SmallUnit() {
    sim::GenerateOptions options;
    options.serial = "4711-0815";
    options.gCount = 3;
    options.xCount = 2;
    options.xType = 2;
    return sim::GenerateUnit(options);
}

std::chrono::milliseconds ProcessCpuTime() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::seconds(ts.tv_sec) +
                                                                 std::chrono::nanoseconds(ts.tv_nsec));
}

TEST(Identification, AsksFlushSerialAndBothHeadersInOrder) {
    SimLine line(SmallUnit());
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));

    FlushLine(port);
    EXPECT_EQ(QuerySerialNumber(port), "4711-0815");
    EXPECT_EQ(QueryInfoHeader(port, 'G'), (InfoHeader{36, 0, 3}));
    EXPECT_EQ(QueryInfoHeader(port, 'X'), (InfoHeader{196, 2, 2}));
    EXPECT_EQ(line.Simulator().Requests(),
              (std::vector<std::string>{"\r\n", "SN?\r\n", "GI?\r\n", "XI?\r\n"}));
}

struct FailingController {
    const char* name;
    sim::Behaviour behaviour;
};

void PrintTo(const FailingController& c, std::ostream* out) {
    *out << c.name;
}

class IdentificationFailure : public ::testing::TestWithParam<FailingController> {};

TEST_P(IdentificationFailure, NothingIsAccepted) {
    SimLine line(SmallUnit(), GetParam().behaviour);
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));

    EXPECT_EQ(QuerySerialNumber(port), std::nullopt);
    EXPECT_EQ(QueryInfoHeader(port, 'G'), std::nullopt);
    EXPECT_EQ(QueryInfoHeader(port, 'X'), std::nullopt);
    EXPECT_EQ(line.Simulator().Requests(), (std::vector<std::string>{"SN?\r\n", "GI?\r\n", "XI?\r\n"}));
}

sim::Behaviour Silent() {
    sim::Behaviour behaviour;
    behaviour.stopAfter = 0;
    return behaviour;
}

sim::Behaviour Garbage() {
    sim::Behaviour behaviour;
    behaviour.garbage = true;
    return behaviour;
}

INSTANTIATE_TEST_SUITE_P(Controllers, IdentificationFailure,
                         ::testing::Values(FailingController{"silent", Silent()},
                                           FailingController{"garbage", Garbage()}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Identification, LateSerialAnswerIsReadByTheHeaderQuery) {
    sim::Behaviour late;
    late.delay = 2300ms;
    SimLine line(SmallUnit(), late);
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));

    EXPECT_EQ(QuerySerialNumber(port), std::nullopt);
    // Nothing is purged before a request: "SN 4711-0815\r" fills the 13 characters.
    EXPECT_EQ(QueryInfoHeader(port, 'G'), std::nullopt);
}

TEST(Identification, ControllerAnswersAgainAfterThePortWasClosedAndReopened) {
    SimLine line(SmallUnit());
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    EXPECT_TRUE(QueryInfoHeader(port, 'G'));
    EXPECT_TRUE(port.ClosePort());

    // Nobody holds the line: the simulator waits for the next open without spinning.
    const auto cpuBefore = ProcessCpuTime();
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(ProcessCpuTime() - cpuBefore, 100ms);

    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    EXPECT_EQ(QueryInfoHeader(port, 'X'), (InfoHeader{196, 2, 2}));
}

} // namespace
