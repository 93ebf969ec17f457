#include "link/read_loop.h"

#include "link/serial_port.h"
#include "readout/record_store.h"
#include "tests/support/sim_line.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <vector>

using namespace lexorant;
using namespace std::chrono_literals;
using test::SimLine;

namespace {

// Every event as a line of text, in the order the read told them.
class RecordingEvents : public ReadEvents {
public:
    void ReadStarted(const EntrySet&) override { Log("started"); }
    void Status(const std::string& text) override { Log("status " + text); }
    void EntryIn(EntryRef entry) override {
        Log(std::string("show ") + LetterOf(entry.block) + " " + std::to_string(entry.index));
    }
    void EntryFailed(EntryRef, const std::string& text) override { Log("error " + text); }

    std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    void Log(std::string line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(std::move(line));
    }
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

sim::SimUnit Unit(std::uint16_t gCount, std::uint16_t xCount) {
    sim::GenerateOptions options;
    options.gCount = gCount;
    options.xCount = xCount;
    return sim::GenerateUnit(options);
}

// A read as the read command starts it: headers from the controller, slots zero.
struct Reading {
    explicit Reading(sim::SimUnit unit, sim::Behaviour behaviour = {})
        : line(std::move(unit), std::move(behaviour)) {
        const RecordStore& served = line.Simulator().Unit().store;
        store.Replace(served.GInfo, served.XInfo);
        if (!port.OpenPort(SimLine::kPortName, 9600))
            throw std::runtime_error("cannot open the simulated line");
    }

    ReadTally Run() {
        ReadJob job{port, store, steps, &stop};
        return RunRead(job);
    }

    const RecordStore& Served() { return line.Simulator().Unit().store; }

    SimLine line;
    SerialPort port;
    RecordStore store;
    RecordingEvents steps;
    std::atomic<bool> stop{false};
};

std::vector<std::string> EntryRequests(char letter, int count) {
    std::vector<std::string> requests;
    for (int i = 0; i < count; ++i)
        requests.push_back(std::string(1, letter) + "I@ " + std::to_string(i) + "\r\n");
    return requests;
}

bool AllZero(const std::uint8_t* slot, std::size_t size) {
    return std::all_of(slot, slot + size, [](std::uint8_t b) { return b == 0; });
}

TEST(ReadLoop, CleanReadFillsEverySlotInOrder) {
    Reading reading(Unit(3, 2));
    const ReadTally tally = reading.Run();

    EXPECT_EQ(reading.steps.Lines(), (std::vector<std::string>{"started",                                  //
                                                               "status Reading G-Info 1 of 3", "show G 0", //
                                                               "status Reading G-Info 2 of 3", "show G 1", //
                                                               "status Reading G-Info 3 of 3", "show G 2", //
                                                               "status 3 G-Infos read",                    //
                                                               "status Reading X-Info 1 of 2", "show X 0", //
                                                               "status Reading X-Info 2 of 2", "show X 1", //
                                                               "status 2 X-Infos read"}));
    auto expected = EntryRequests('G', 3);
    for (const auto& request : EntryRequests('X', 2))
        expected.push_back(request);
    EXPECT_EQ(reading.line.Simulator().Requests(), expected);
    EXPECT_EQ(reading.store, reading.Served());
    EXPECT_EQ(tally.g.good + tally.x.good, 5);
    EXPECT_TRUE(tally.RanToEnd());
}

struct FaultCase {
    const char* name;
    sim::FaultKind kind;
    const char* error; // nullptr: the entry is still good
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadLoopFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ReadLoopFault, FailedEntryIsReportedZeroedAndTheReadGoesOn) {
    sim::Behaviour behaviour;
    behaviour.faults.push_back({'G', 1, GetParam().kind});
    Reading reading(Unit(3, 1), behaviour);
    const ReadTally tally = reading.Run();

    const auto lines = reading.steps.Lines();
    const auto second = std::find(lines.begin(), lines.end(), "status Reading G-Info 2 of 3");
    ASSERT_NE(second, lines.end());
    ASSERT_GE(std::distance(second, lines.end()), 3);
    EXPECT_EQ(second[1], GetParam().error ? "error " + std::string(GetParam().error) : "show G 1");
    EXPECT_EQ(second[2], "status Reading G-Info 3 of 3");
    EXPECT_EQ(lines.back(), "status 1 X-Infos read");
    EXPECT_TRUE(tally.RanToEnd()); // the file is still written, failed entries zero in it

    const RecordStore& served = reading.Served();
    if (GetParam().error) {
        EXPECT_TRUE(AllZero(reading.store.GInfoSlot(1), kGInfoSlotSize));
        EXPECT_TRUE(std::equal(served.GInfoSlot(2), served.GInfoSlot(3), reading.store.GInfoSlot(2)));
        EXPECT_EQ(reading.store.XInfoSlots, served.XInfoSlots);
    } else {
        EXPECT_EQ(reading.store, served);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadLoopFault,
    ::testing::Values(FaultCase{"checksum", sim::FaultKind::WrongChecksum, "CRC error in G-Info 2"},
                      FaultCase{"missing", sim::FaultKind::MissingCharacter,
                                "Answer of G-Info 2 incomplete!"},
                      FaultCase{"zero", sim::FaultKind::ZeroByte, "Answer of G-Info 2 incomplete!"},
                      FaultCase{"lower", sim::FaultKind::LowerCaseHex, nullptr}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ReadLoop, EmptyBlockSendsNoRequest) {
    Reading reading(Unit(1, 0));
    reading.Run();

    const auto lines = reading.steps.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "status 1 G-Infos read");
    EXPECT_EQ(lines[lines.size() - 1], "status 0 X-Infos read");
    EXPECT_EQ(reading.line.Simulator().Requests(), EntryRequests('G', 1));
}

TEST(ReadLoop, ControllerFallingSilentCostsEveryRemainingEntry) {
    sim::Behaviour behaviour;
    behaviour.stopAfter = 1;
    Reading reading(Unit(3, 0), behaviour);
    const ReadTally tally = reading.Run();

    EXPECT_EQ(tally.g.good, 1);
    EXPECT_EQ(tally.g.failed, 2);
    const auto lines = reading.steps.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error Answer of G-Info 2 incomplete!"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error Answer of G-Info 3 incomplete!"), 1);
    EXPECT_EQ(reading.line.Simulator().Requests(), EntryRequests('G', 3));
    EXPECT_TRUE(AllZero(reading.store.GInfoSlots.data() + kGInfoSlotSize, 2 * kGInfoSlotSize));
}

TEST(ReadLoop, GarbageAnswersFailEveryEntryAndLeaveTheSlotsZero) {
    sim::Behaviour behaviour;
    behaviour.garbage = true;
    Reading reading(Unit(3, 2), behaviour);
    const ReadTally tally = reading.Run();

    EXPECT_EQ(tally.g.failed, 3);
    EXPECT_EQ(tally.x.failed, 2);
    EXPECT_TRUE(tally.RanToEnd());
    EXPECT_TRUE(AllZero(reading.store.GInfoSlots.data(), reading.store.GInfoSlots.size()));
    EXPECT_TRUE(AllZero(reading.store.XInfoSlots.data(), reading.store.XInfoSlots.size()));
    const auto lines = reading.steps.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.starts_with("error"); }),
              5);
}

// An answer that comes after the wait has ended stays on the line: the next request's exchange reads
// it first and takes it for its own entry.
TEST(ReadLoop, LateAnswerIsTakenByTheNextExchange) {
    sim::Behaviour behaviour;
    behaviour.delay = 2500ms;
    Reading reading(Unit(2, 0), behaviour);
    const ReadTally tally = reading.Run();

    EXPECT_EQ(tally.g.failed, 1);
    EXPECT_EQ(tally.g.good, 1);
    const auto lines = reading.steps.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error Answer of G-Info 1 incomplete!"), 1);
    EXPECT_TRUE(AllZero(reading.store.GInfoSlot(0), kGInfoSlotSize));
    EXPECT_TRUE(
        std::equal(reading.Served().GInfoSlot(0), reading.Served().GInfoSlot(1), reading.store.GInfoSlot(1)));
}

TEST(ReadLoop, StopWithCancelEndsABlockedReadPromptly) {
    sim::Behaviour behaviour;
    behaviour.stopAfter = 1;
    Reading reading(Unit(5, 2), behaviour);
    auto run = std::async(std::launch::async, [&] { return reading.Run(); });
    ASSERT_TRUE(reading.line.Simulator().WaitForRequests(2, 10000ms));

    const auto stopped = std::chrono::steady_clock::now();
    reading.stop = true;
    reading.port.Cancel();
    ASSERT_EQ(run.wait_for(1000ms), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 500ms);

    const ReadTally tally = run.get();
    EXPECT_TRUE(tally.stopped);
    EXPECT_FALSE(tally.RanToEnd());
    const auto lines = reading.steps.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.starts_with("error"); }),
              0);
    EXPECT_EQ(reading.line.Simulator().Requests(), EntryRequests('G', 2));
}

TEST(ReadLoop, LongerAnswersThanTheSlotNeverWritePastIt) {
    sim::SimUnit unit = Unit(1, 0);
    unit.store.GInfo.AnswerLength = 40; // 18 data bytes for a 16-byte slot
    Reading reading(std::move(unit));

    constexpr std::size_t kGuard = 32;
    constexpr std::uint8_t kGuardByte = 0xA5;
    std::vector<std::uint8_t> memory(kGuard + kGInfoSlotSize + kGuard, kGuardByte);
    ReadJob job{reading.port, reading.store, reading.steps};
    const BlockTally tally = ReadBlock(job, 'G', 1, 40, memory.data() + kGuard, kGInfoSlotSize);

    EXPECT_EQ(tally.good, 1); // the two bytes beyond the slot still count in the checksum
    EXPECT_TRUE(std::equal(memory.begin() + kGuard, memory.begin() + kGuard + kGInfoSlotSize,
                           reading.Served().GInfoSlot(0)));
    EXPECT_TRUE(std::all_of(memory.begin(), memory.begin() + kGuard, [](auto b) { return b == kGuardByte; }));
    EXPECT_TRUE(std::all_of(memory.end() - kGuard, memory.end(), [](auto b) { return b == kGuardByte; }));
}

} // namespace
