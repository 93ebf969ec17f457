#include "link/identification.h"

#include "link/serial_port.h"
#include "tools/sim/unit.h"
#include "tests/support/sim_line.h"
#include "tests/support/sim_pty_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

using namespace lexorant;
using namespace std::chrono_literals;
using test::SimLine;
using test::SimPtyPeer;

namespace {

sim::SimUnit SmallUnit() {
    sim::GenerateOptions options;
    options.serial = "4711-0815";
    options.gCount = 3;
    options.xCount = 2;
    options.xType = 2;
    return sim::GenerateUnit(options);
}

// Where no answer comes, a short time-out; where answers come, one that still leaves a busy machine
// ample time for them (the flush and the serial number always wait it out).
constexpr auto kShortTimeout = 100ms;
constexpr auto kAnswerWindow = 500ms;

TEST(Identification, AsksFlushSerialAndBothHeadersInOrder) {
    SimLine line(SmallUnit());
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    port.SetAnswerTimeout(kAnswerWindow);

    Identification identification(port);
    EXPECT_EQ(identification.SerialNumber(), "4711-0815");
    const auto headers = identification.Headers();
    ASSERT_TRUE(headers);
    EXPECT_EQ(headers->g, (InfoHeader{36, 0, 3}));
    EXPECT_EQ(headers->x, (InfoHeader{196, 2, 2}));
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

TEST_P(IdentificationFailure, NothingIsAcceptedAndTheHeadersAreNotAskedAgain) {
    SimLine line(SmallUnit(), GetParam().behaviour);
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    port.SetAnswerTimeout(kShortTimeout);

    Identification identification(port);
    EXPECT_EQ(identification.SerialNumber(), std::nullopt);
    EXPECT_EQ(identification.FailureText(), kNoSerialText);
    EXPECT_EQ(identification.Headers(), std::nullopt);
    EXPECT_EQ(identification.FailureText(), kNoGInfoHeaderText);
    line.Simulator().WaitForRequests(3, 5s); // the last may still be on its way to the simulator
    EXPECT_EQ(line.Simulator().Requests(), (std::vector<std::string>{"\r\n", "SN?\r\n", "GI?\r\n"}));
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
    SimPtyPeer peer;
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(peer.SlavePath(), 9600));
    port.SetAnswerTimeout(kShortTimeout);

    Identification identification(port);
    EXPECT_EQ(identification.SerialNumber(), std::nullopt);
    EXPECT_EQ(peer.Receive(), "\r\nSN?\r\n");
    peer.Send("SN 4711-0815\r\n"); // after its request has timed out
    // Nothing is purged before a request: "SN 4711-0815\r" fills the 13 characters.
    EXPECT_EQ(identification.Headers(), std::nullopt);
    EXPECT_EQ(identification.FailureReason(), "(answer 'SN 4711-0815\\r' has the wrong prefix)");
}

TEST(Identification, ControllerAnswersAgainAfterThePortWasClosedAndReopened) {
    SimLine line(SmallUnit());
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    EXPECT_TRUE(Identification(port).Headers());
    EXPECT_TRUE(port.ClosePort());
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    EXPECT_TRUE(Identification(port).Headers());
}

struct EndedLine {
    const char* name;
    std::string answer; // what the far end sends before the "GI?" goes out
    enum { Stays, HangsUp, Cancelled } line;
    const char* reason;
};

void PrintTo(const EndedLine& c, std::ostream* out) {
    *out << c.name;
}

class FailureReason : public ::testing::TestWithParam<EndedLine> {};

TEST_P(FailureReason, SaysHowTheAnswerEnded) {
    SimPtyPeer peer;
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(peer.SlavePath(), 9600));
    // The hang-up must come within the time-out: it waits for the request to arrive.
    if (GetParam().line == EndedLine::Stays)
        port.SetAnswerTimeout(kShortTimeout);
    peer.Send(GetParam().answer);
    if (GetParam().line == EndedLine::Cancelled)
        port.Cancel();
    // Hung up once the request is out, as a unit that is switched off while it is asked.
    auto hangUp = std::async(std::launch::async, [&] {
        if (GetParam().line == EndedLine::HangsUp && !peer.Receive().empty())
            peer.HangUp();
    });

    Identification identification(port);
    EXPECT_EQ(identification.Headers(), std::nullopt);
    hangUp.get();
    EXPECT_EQ(identification.FailureText(), kNoGInfoHeaderText);
    EXPECT_EQ(identification.FailureReason(), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FailureReason,
    ::testing::Values(
        EndedLine{"silent", "", EndedLine::Stays, "(no answer within 100 ms)"},
        EndedLine{"cut_short", "GI 2400007", EndedLine::Stays, "(answered 10 bytes without CR LF)"},
        EndedLine{"no_line_end", "gi 24000078\r ", EndedLine::Stays, "(answered 13 bytes without CR LF)"},
        EndedLine{"wrong_prefix", "XY 12345678\r\n", EndedLine::Stays,
                  "(answer 'XY 12345678' has the wrong prefix)"},
        EndedLine{"noise", "#*?~%&!#*?~%&", EndedLine::Stays,
                  "(answered 13 bytes that are no valid answer: wrong bit rate?)"},
        EndedLine{"other_bit_rate", std::string("\xF8\x80\x00\xF8x\x80\xFE\x0E\xF8\x80\x80\xE0\xFC", 13),
                  EndedLine::Stays, "(answered 13 bytes that are no valid answer: wrong bit rate?)"},
        EndedLine{"hung_up", "", EndedLine::HangsUp, "(the line hung up)"},
        EndedLine{"cancelled", "", EndedLine::Cancelled, "(cancelled)"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
