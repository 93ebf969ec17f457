// A read whose line is lost mid-way: it stops at once where the unit stopped answering, keeps what it
// received, and a continued read asks only for the rest and ends with the same store as a read that
// was never interrupted.
#include "link/kept_check.h"
#include "link/read_loop.h"
#include "link/serial_port.h"
#include "readout/entry_keeper.h"
#include "readout/entry_set.h"
#include "readout/record_store.h"
#include "tests/support/sim_line.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace lexorant;
using test::SimLine;

namespace {

sim::SimUnit Unit(std::uint32_t seed = 1) {
    sim::GenerateOptions options;
    options.gCount = 6;
    options.xCount = 3;
    options.seed = seed;
    return sim::GenerateUnit(options);
}

class MemoryKeeper : public EntryKeeper {
public:
    explicit MemoryKeeper(const RecordStore& served) : in(served.GInfo, served.XInfo) {
        store.Replace(served.GInfo, served.XInfo);
    }
    void Keep(EntryRef entry, std::span<const std::uint8_t> slot) override {
        std::memcpy(const_cast<std::uint8_t*>(SlotOf(store, entry)), slot.data(), slot.size());
        in.Add(entry);
    }
    void Completed() override {}

    RecordStore store;
    EntrySet in;
};

// Events that answer a lost line from a list (Stop once it runs out) and note where it was lost.
class Steps : public ReadEvents {
public:
    explicit Steps(std::vector<AfterLoss> answers = {}) : answers_(std::move(answers)) {}
    void ReadStarted(const EntrySet&) override {}
    void Status(const std::string&) override {}
    void EntryIn(EntryRef) override {}
    void EntryFailed(EntryRef, const std::string& text) override { errors.push_back(text); }
    AfterLoss LineLost(const LineLoss& loss) override {
        losses.push_back(loss);
        if (answers_.empty())
            return AfterLoss::Stop;
        const AfterLoss answer = answers_.front();
        answers_.erase(answers_.begin());
        return answer;
    }

    std::vector<std::string> errors;
    std::vector<LineLoss> losses;

private:
    std::vector<AfterLoss> answers_;
};

// One read against a simulated unit, continuing from `kept` when given.
struct Read {
    Read(sim::SimUnit unit, sim::Behaviour behaviour, MemoryKeeper& keeper, Steps& steps, bool continued)
        : line(std::move(unit), std::move(behaviour)) {
        if (continued)
            store = keeper.store;
        else
            store.Replace(keeper.store.GInfo, keeper.store.XInfo);
        if (!port.OpenPort(SimLine::kPortName, 9600))
            throw std::runtime_error("cannot open the simulated line");
        ReadJob job{port, store, steps};
        job.keeper = &keeper;
        const EntrySet in = keeper.in;
        job.in = continued ? &in : nullptr;
        tally = RunRead(job);
    }

    std::vector<std::string> Requests() { return line.Simulator().Requests(); }

    SimLine line;
    SerialPort port;
    RecordStore store;
    ReadTally tally;
};

std::string Request(EntryRef entry) {
    return EntryRequest(LetterOf(entry.block), entry.index);
}

struct Interruption {
    const char* name;
    std::size_t answered; // requests answered before the line hangs up
    EntryRef lostAt;
};

class HungUpRead : public ::testing::TestWithParam<Interruption> {};

TEST_P(HungUpRead, StopsWhereTheLineWentAndTheContinuedReadAsksOnlyTheRest) {
    const sim::SimUnit unit = Unit();
    MemoryKeeper keeper(unit.store);
    Steps steps;
    sim::Behaviour hangUp;
    hangUp.hangUpAfter = GetParam().answered;
    {
        Read first(unit, hangUp, keeper, steps, false);
        ASSERT_TRUE(first.tally.lost);
        EXPECT_EQ(*first.tally.lost,
                  (LineLoss{GetParam().lostAt, GetParam().lostAt.block == InfoBlock::GInfo ? 6 : 3,
                            LineLossReason::HungUp}));
        EXPECT_EQ(steps.losses.size(), 1u);
        EXPECT_TRUE(steps.errors.empty()) << "no entry is reported one by one";
        EXPECT_FALSE(first.tally.RanToEnd());
        EXPECT_EQ(keeper.in.Count(), GetParam().answered);
    }
    const EntrySet kept = keeper.in;
    Steps more;
    Read second(unit, {}, keeper, more, true);
    EXPECT_FALSE(second.tally.lost);
    EXPECT_EQ(second.store, unit.store);
    EXPECT_TRUE(second.tally.RanToEnd());
    std::vector<std::string> expected;
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo})
        for (std::uint16_t i = 0; i < (block == InfoBlock::GInfo ? 6 : 3); ++i)
            if (!kept.Has({block, i}))
                expected.push_back(Request({block, i}));
    EXPECT_EQ(second.Requests(), expected);
}

INSTANTIATE_TEST_SUITE_P(Points, HungUpRead,
                         ::testing::Values(Interruption{"FirstEntry", 0, {InfoBlock::GInfo, 0}},
                                           Interruption{"MidGInfo", 3, {InfoBlock::GInfo, 3}},
                                           Interruption{"FirstXInfo", 6, {InfoBlock::XInfo, 0}},
                                           Interruption{"LastXInfo", 8, {InfoBlock::XInfo, 2}}),
                         [](const auto& param) { return std::string(param.param.name); });

// Silence is a loss only once it has lasted ten entries; the first of them is where the read went on
// after Wiederholen, and right after the port is opened again one silent entry is a loss at once.
TEST(LostLine, SilenceOfTenEntriesIsALossAndARetryGoesOnWhereItBegan) {
    sim::GenerateOptions options;
    options.gCount = 14;
    options.xCount = 1;
    const sim::SimUnit unit = sim::GenerateUnit(options);
    sim::Behaviour behaviour;
    behaviour.stopAfter = 2;  // G-Info 3 is the first without answer
    behaviour.silentFor = 11; // ten, then one more after the retry
    MemoryKeeper keeper(unit.store);
    Steps steps({AfterLoss::Retry, AfterLoss::Retry});
    Read read(unit, behaviour, keeper, steps, false);

    const LineLoss silent{{InfoBlock::GInfo, 2}, 14, LineLossReason::StoppedAnswering};
    EXPECT_EQ(steps.losses, (std::vector<LineLoss>{silent, silent}));
    EXPECT_EQ(LineLostText(silent),
              "The unit stopped answering at G-Info 3 of 14 (no answer to 10 requests in a row)");
    EXPECT_EQ(steps.errors.size(), 9u) << "the first nine silent entries are reported as any failed entry";
    EXPECT_EQ(steps.errors.front(), "Answer of G-Info 3 incomplete!");
    const auto requests = read.Requests();
    ASSERT_EQ(requests.size(), 2u + 10u + 1u + 13u);
    EXPECT_EQ(requests[12], Request({InfoBlock::GInfo, 2})) << "the retry asks the first silent entry";
    EXPECT_EQ(requests[13], Request({InfoBlock::GInfo, 2})) << "and, after one more silent one, again";
    EXPECT_FALSE(read.tally.lost);
    EXPECT_EQ(read.tally.g.failed, 0) << "entries asked anew and read good do not count as failed";
    EXPECT_EQ(read.store, unit.store);
    EXPECT_TRUE(read.tally.RanToEnd());
}

// Steps without an answer to a lost line keep the entry-by-entry reports.
TEST(LostLine, WithoutAChoiceEveryRemainingEntryIsReportedAsItFails) {
    const sim::SimUnit unit = Unit();
    sim::Behaviour hangUp;
    hangUp.hangUpAfter = 4;
    MemoryKeeper keeper(unit.store);
    class Reporting : public Steps {
    public:
        AfterLoss LineLost(const LineLoss& loss) override { return ReadEvents::LineLost(loss); }
    } steps;
    Read read(unit, hangUp, keeper, steps, false);
    EXPECT_FALSE(read.tally.lost);
    EXPECT_EQ(read.tally.g.failed + read.tally.x.failed, 5);
    EXPECT_EQ(steps.errors.size(), 5u);
    EXPECT_TRUE(read.tally.RanToEnd());
}

// A kept read-out of G-Info 0-9 and X-Info 1 of the unit of seed 1, checked against a unit on the
// line: seed 2 is another log; `changed` is a G-Info slot that differs from the kept one (as a log
// that changed in some entries only: overwritten oldest slots, say).
struct CheckCase {
    const char* name;
    std::uint32_t seed;
    int changed; // -1: none
    bool hangUp;
    KeptCheck check;
};

class KeptCheckOf : public ::testing::TestWithParam<CheckCase> {};

TEST_P(KeptCheckOf, ASpreadOfKeptEntriesIsAskedAgainAndComparedWithTheirKeptBytes) {
    sim::GenerateOptions options;
    options.gCount = 20;
    options.xCount = 3;
    const sim::SimUnit kept = sim::GenerateUnit(options);
    EntrySet in(kept.store.GInfo, kept.store.XInfo);
    for (std::uint16_t i = 0; i < 10; ++i)
        in.Add({InfoBlock::GInfo, i});
    in.Add({InfoBlock::XInfo, 1});
    options.seed = GetParam().seed;
    sim::SimUnit served = sim::GenerateUnit(options);
    if (GetParam().changed >= 0)
        SlotOf(served.store, {InfoBlock::GInfo, static_cast<std::uint16_t>(GetParam().changed)})[9] ^= 0x40;
    sim::Behaviour behaviour;
    if (GetParam().hangUp)
        behaviour.hangUpAfter = 0;
    SimLine line(served, behaviour);
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    const KeptCheckResult result = CheckKeptEntries(port, kept.store, in);
    EXPECT_EQ(result.check, GetParam().check);

    const auto spread = KeptEntriesToCheck(kept.store, in);
    for (const EntryRef ends :
         {EntryRef{InfoBlock::GInfo, 0}, EntryRef{InfoBlock::GInfo, 9}, EntryRef{InfoBlock::XInfo, 1}})
        EXPECT_NE(std::find(spread.begin(), spread.end(), ends), spread.end())
            << "the ends of every kept run";
    if (GetParam().check == KeptCheck::Same) {
        std::vector<std::string> asked;
        for (const EntryRef entry : spread)
            asked.push_back(Request(entry));
        EXPECT_EQ(line.Simulator().Requests(), asked) << "each once, and nothing that was not kept";
    }
}

INSTANTIATE_TEST_SUITE_P(Units, KeptCheckOf,
                         ::testing::Values(CheckCase{"Same", 1, -1, false, KeptCheck::Same},
                                           CheckCase{"Changed", 2, -1, false, KeptCheck::Changed},
                                           CheckCase{"FirstKeptChanged", 1, 0, false, KeptCheck::Changed},
                                           CheckCase{"NotKeptChanged", 1, 15, false, KeptCheck::Same},
                                           CheckCase{"Gone", 1, -1, true, KeptCheck::NoAnswer}),
                         [](const auto& param) { return std::string(param.param.name); });

// However many runs a read with many failed entries leaves, a few dozen entries are asked at most.
TEST(KeptCheck, AsksAFewDozenEntriesAtMost) {
    sim::GenerateOptions options;
    options.gCount = 400;
    options.xCount = 0;
    const sim::SimUnit kept = sim::GenerateUnit(options);
    EntrySet in(kept.store.GInfo, kept.store.XInfo);
    for (std::uint16_t i = 0; i < 400; i += 2)
        in.Add({InfoBlock::GInfo, i});
    const auto spread = KeptEntriesToCheck(kept.store, in);
    EXPECT_EQ(spread.size(), kMostKeptEntriesChecked);
    EXPECT_NE(std::find(spread.begin(), spread.end(), EntryRef{InfoBlock::GInfo, 0}), spread.end());
    EXPECT_NE(std::find(spread.begin(), spread.end(), EntryRef{InfoBlock::GInfo, 398}), spread.end());
}

} // namespace
