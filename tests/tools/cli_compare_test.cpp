// lexorant-cli compare on the simulator's read-outs of two visits to a unit, run as a process.
#include "file/info_file.h"
#include "tests/support/cli_process.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <sstream>
#include <sys/stat.h>

using namespace lexorant;
using test::CliRun;
namespace fs = std::filesystem;

namespace {

sim::SimUnit Generated(std::uint32_t seed, const std::string& serial = "4711-0815") {
    sim::GenerateOptions options;
    options.serial = serial;
    options.gCount = 200;
    options.xCount = 50;
    options.seed = seed;
    return sim::GenerateUnit(options);
}

// The lines of a table whose entry numbers are in `numbers`, after its heading line.
std::string Lines(const std::string& table, const std::set<int>& numbers) {
    std::istringstream in(table);
    std::string line, out;
    std::getline(in, line);
    out = line + "\n";
    for (int number = 1; std::getline(in, line); ++number)
        if (numbers.contains(number))
            out += line + "\n";
    return out;
}

std::set<int> Range(int first, int last) {
    std::set<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.insert(n);
    return numbers;
}

class CliCompareTest : public test::CliProcessTest {
protected:
    // The first visit, then the second: five G-Info entries and one X-Info entry overwritten by new
    // ones, 30 G-Info and 10 X-Info entries logged since. Another unit's and a later read-out lie beside.
    void SetUp() override {
        CliProcessTest::SetUp();
        fs::create_directory(dir_ / "O");
        const RecordStore first = Generated(1).store;
        const RecordStore later = Generated(2).store;
        RecordStore second;
        second.Replace({first.GInfo.AnswerLength, first.GInfo.InfoType, 230},
                       {first.XInfo.AnswerLength, first.XInfo.InfoType, 60});
        std::copy(first.GInfoSlots.begin(), first.GInfoSlots.end(), second.GInfoSlots.begin());
        std::copy(first.XInfoSlots.begin(), first.XInfoSlots.end(), second.XInfoSlots.begin());
        for (std::size_t i = 10; i < 15; ++i)
            std::memcpy(second.GInfoSlot(i), later.GInfoSlot(i + 90), kGInfoSlotSize);
        std::memcpy(second.XInfoSlot(5), later.XInfoSlot(5), kXInfoSlotSize);
        for (std::size_t i = 0; i < 30; ++i)
            std::memcpy(second.GInfoSlot(200 + i), later.GInfoSlot(i), kGInfoSlotSize);
        for (std::size_t i = 0; i < 10; ++i)
            std::memcpy(second.XInfoSlot(50 + i), later.XInfoSlot(20 + i), kXInfoSlotSize);
        ASSERT_EQ(WriteInfoFile(first, (dir_ / "O/4711-0815_01.inf").string()), "");
        ASSERT_EQ(WriteInfoFile(second, (dir_ / "O/4711-0815_03.inf").string()), "");
        ASSERT_EQ(WriteInfoFile(later, (dir_ / "O/4711-0815_04.inf").string()), "");
        ASSERT_EQ(WriteInfoFile(Generated(3, "4711-0816").store, (dir_ / "O/4711-0816_02.inf").string()), "");
    }
    CliRun Run(const std::string& args) { return Cli(args, "LC_ALL=C "); }
};

} // namespace

TEST_F(CliCompareTest, PrintsTheNewEntriesAsShowDoes) {
    const CliRun run = Run("compare O/4711-0815_03.inf");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "Comparing with O/4711-0815_01.inf\n"
                       "G-Info: 35 new, 195 known, 5 gone, 0 empty\n"
                       "X-Info: 11 new, 49 known, 1 gone, 0 empty\n");
    std::set<int> added = Range(11, 15);
    added.merge(Range(201, 230));
    EXPECT_EQ(run.out, Lines(Run("show O/4711-0815_03.inf").out, added));

    const CliRun x = Run("compare O/4711-0815_01.inf O/4711-0815_03.inf --block X --format csv");
    ASSERT_EQ(x.exitCode, 0) << x.err;
    std::set<int> addedX = Range(51, 60);
    addedX.insert(6);
    std::string expected = Lines(Run("show O/4711-0815_03.inf --block X --format csv").out, addedX);
    EXPECT_EQ(x.out, expected);
}

TEST_F(CliCompareTest, GonePrintsTheOlderEntriesTheNewerNoLongerHolds) {
    const CliRun run = Run("compare --gone O/4711-0815_01.inf O/4711-0815_03.inf");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Lines(Run("show O/4711-0815_01.inf").out, Range(11, 15)));
}

TEST_F(CliCompareTest, AReadOutComparedWithItselfPrintsTheHeadingAlone) {
    const CliRun run = Run("compare O/4711-0815_01.inf O/4711-0815_01.inf --format tsv");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Lines(Run("show O/4711-0815_01.inf").out, {}));
    EXPECT_EQ(run.err,
              "G-Info: 0 new, 200 known, 0 gone, 0 empty\nX-Info: 0 new, 50 known, 0 gone, 0 empty\n");
}

TEST_F(CliCompareTest, AnotherUnitIsComparedWithAWarning) {
    const CliRun run = Run("compare O/4711-0816_02.inf O/4711-0815_01.inf");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(
        run.err.starts_with("Warning: O/4711-0816_02.inf is of unit 4711-0816, O/4711-0815_01.inf of unit "
                            "4711-0815\nG-Info: "))
        << run.err;
}

TEST_F(CliCompareTest, RefusesWhatItCannotCompare) {
    ASSERT_EQ(::mkfifo((dir_ / "pipe.inf").c_str(), 0600), 0);
    fs::copy_file(dir_ / "O/4711-0815_01.inf", dir_ / "unit.inf");
    const std::pair<const char*, const char*> cases[] = {
        {"compare O/4711-0815_01.inf",
         "lexorant-cli compare: O/4711-0815_01.inf has no earlier read-out of its unit "
         "beside it; name OLD: lexorant-cli compare OLD NEW\n"},
        {"compare unit.inf",
         "lexorant-cli compare: unit.inf has no earlier read-out of its unit beside it; name "
         "OLD: lexorant-cli compare OLD NEW\n"},
        {"compare missing.inf unit.inf", "Unable to open file missing.inf\n"},
        {"compare unit.inf pipe.inf", "Unable to open file pipe.inf\n"},
        {"compare O/4711-0815_05.inf", "Unable to open file O/4711-0815_05.inf\n"},
        {"compare a.inf b.inf c.inf", "lexorant-cli compare: give OLD and NEW, or NEW alone\n"},
    };
    for (const auto& [args, err] : cases) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 1) << args;
        EXPECT_EQ(run.err, err) << args;
        EXPECT_EQ(run.out, "") << args;
    }
}
