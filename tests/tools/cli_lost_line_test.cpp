// lexorant-cli read when the line to the unit is lost, run as a process against a simulated unit: it
// stops at once with exit code 4, keeps what it read, and the same command continues the read to the
// file that a read without interruption writes, asking the unit only for what was not yet read.
#include "file/info_file.h"
#include "file/info_file_format.h"
#include "file/kept_read_out.h"
#include "link/kept_check.h"
#include "platform/temporary_file.h"
#include "tests/support/cli_process.h"
#include "tests/support/sim_line.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace lexorant;
using namespace std::chrono_literals;
using test::CliRun;
using test::Slurp;
namespace fs = std::filesystem;

namespace {

constexpr int kGCount = 40;
constexpr int kXCount = 10;
constexpr std::size_t kIdentification = 4; // flush, "SN?", "GI?", "XI?"

sim::SimUnit Unit(std::uint32_t seed = 1) {
    sim::GenerateOptions options;
    options.gCount = kGCount;
    options.xCount = kXCount;
    options.seed = seed;
    return sim::GenerateUnit(options);
}

std::string FileBytes(const RecordStore& store) {
    const auto bytes = EncodeInfoFile(store);
    return {bytes.begin(), bytes.end()};
}

std::string Request(InfoBlock block, int index) {
    return std::string(block == InfoBlock::GInfo ? "GI@ " : "XI@ ") + std::to_string(index) + "\r\n";
}

// The entry requests a unit received, in order.
std::vector<std::string> EntryRequests(test::SimLine& line) {
    std::vector<std::string> entries;
    for (const std::string& r : line.Simulator().Requests())
        if (r.find("I@ ") != std::string::npos)
            entries.push_back(r);
    return entries;
}

// What a continued read asks: first a spread of kept entries again, each once, to see that the unit
// still holds them, then every entry that the kept read-out lacks.
std::vector<std::string> ContinuedRequests(const KeptReadOut& kept) {
    std::vector<std::string> requests;
    for (const EntryRef entry : KeptEntriesToCheck(kept.store, kept.in))
        requests.push_back(Request(entry.block, entry.index));
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo})
        for (int i = 0; i < (block == InfoBlock::GInfo ? kGCount : kXCount); ++i)
            if (!kept.in.Has({block, static_cast<std::uint16_t>(i)}))
                requests.push_back(Request(block, i));
    return requests;
}

std::vector<std::string> AllRequests() {
    std::vector<std::string> requests;
    for (int i = 0; i < kGCount; ++i)
        requests.push_back(Request(InfoBlock::GInfo, i));
    for (int i = 0; i < kXCount; ++i)
        requests.push_back(Request(InfoBlock::XInfo, i));
    return requests;
}

class CliLostLineTest : public test::CliProcessTest {
protected:
    fs::path KeptFile() { return dir_ / "state" / "brenno-lexorant" / "4711-0815.partial"; }

    // A read of the first unit that the line loses at G-Info 26.
    void HangUpAtEntry26(const std::string& args) {
        sim::Behaviour hangUp;
        hangUp.hangUpAfter = kIdentification + 25;
        test::SimLine line(Unit(), hangUp);
        const CliRun run = Cli("read COM1 " + args);
        EXPECT_EQ(run.exitCode, 4) << run.err;
        EXPECT_TRUE(run.err.ends_with(
            "The unit stopped answering at G-Info 26 of 40 (the line hung up)\n"
            "What was read is kept in " +
            KeptFile().string() + ". Run the same command again to continue the read where it stopped.\n"))
            << run.err;
        EXPECT_EQ(run.err.find("incomplete"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }

    // Runs the same read again on the whole unit: the file is the uninterrupted read's, and only the
    // entries that were missing (and the spread asked again to check the unit) were requested.
    CliRun ContinueToTheUninterruptedFile(const KeptReadOut& kept) {
        test::SimLine line(Unit());
        CliRun run = Cli("read COM1 --output unit.inf");
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Slurp(dir_ / "unit.inf"), FileBytes(line.Simulator().Unit().store));
        EXPECT_EQ(EntryRequests(line), ContinuedRequests(kept));
        return run;
    }
};

TEST_F(CliLostLineTest, AHungUpReadWritesNothingAndTheSameCommandContinuesIt) {
    HangUpAtEntry26("--output unit.inf");
    EXPECT_FALSE(fs::exists(dir_ / "unit.inf")) << "nothing poses as a complete read-out";
    const auto kept = LoadKeptReadOut(KeptFile());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->in.Count(), 25u);

    // The kept read-out can be looked at, and says that it is partial.
    const CliRun show = Cli("show '" + KeptFile().string() + "'");
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_NE(show.err.find("is a partial read-out of 4711-0815: 25 of 50 entries have been read"),
              std::string::npos)
        << show.err;
    EXPECT_NE(show.out.find("\n\t\t\t"), std::string::npos) << "entries not read are empty lines";
    const CliRun summary = Cli("summary '" + KeptFile().string() + "' --by-file");
    EXPECT_EQ(summary.exitCode, 0) << summary.err;
    EXPECT_NE(summary.out.find("\t4711-0815\t25\t0\t"), std::string::npos) << summary.out;
    EXPECT_TRUE(summary.out.ends_with("\tpartial\n")) << summary.out;

    const CliRun run = ContinueToTheUninterruptedFile(*kept);
    EXPECT_TRUE(run.err.starts_with("Continuing the kept read-out of 4711-0815: 25 of 50 entries are in"))
        << run.err;
    EXPECT_FALSE(fs::exists(KeptFile())) << "a read that wrote its file keeps nothing";
}

// A read lost before its first entry keeps nothing worth continuing: the next read is a whole one.
TEST_F(CliLostLineTest, AReadLostBeforeItsFirstEntryIsNotContinued) {
    sim::Behaviour hangUp;
    hangUp.hangUpAfter = kIdentification;
    {
        test::SimLine line(Unit(), hangUp);
        EXPECT_EQ(Cli("read COM1 --output unit.inf").exitCode, 4);
    }
    test::SimLine line(Unit());
    const CliRun run = Cli("read COM1 --output unit.inf");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("Continuing"), std::string::npos) << run.err;
    EXPECT_EQ(EntryRequests(line), AllRequests());
}

// The autosave number is taken only by the read that writes the file: the continued read gets the
// name that a read without interruption would have got.
TEST_F(CliLostLineTest, AStoppedAutosaveReadLeavesItsNumberToTheContinuedOne) {
    const fs::path drive = dir_ / "drive";
    fs::create_directories(drive / "geraete" / "Lexorant");
    const auto linkDrive = [&] {
        fs::create_directory_symlink(drive, fs::path(std::getenv("XDG_CONFIG_HOME")) / "brenno-lexorant" /
                                                "dosdevices" / "o:");
    };
    {
        sim::Behaviour hangUp;
        hangUp.hangUpAfter = kIdentification + 25;
        test::SimLine line(Unit(), hangUp);
        linkDrive();
        EXPECT_EQ(Cli("read COM1 --autosave").exitCode, 4);
        EXPECT_TRUE(fs::is_empty(drive / "geraete" / "Lexorant"));
    }
    test::SimLine line(Unit());
    linkDrive();
    const CliRun run = Cli("read COM1 --autosave");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "O:\\geraete\\Lexorant\\4711-0815_01.inf\n");
    EXPECT_EQ(Slurp(drive / "geraete" / "Lexorant" / "4711-0815_01.inf"),
              FileBytes(line.Simulator().Unit().store));
}

TEST_F(CliLostLineTest, AUnitFallingSilentStopsTheReadAfterTenEntriesAndTheReadContinues) {
    {
        sim::Behaviour silent;
        silent.stopAfter = kIdentification + 25;
        test::SimLine line(Unit(), silent);
        const CliRun run = Cli("read COM1 --output unit.inf");
        EXPECT_EQ(run.exitCode, 4) << run.err;
        EXPECT_NE(run.err.find(
                      "Answer of G-Info 34 incomplete!\n"
                      "Reading G-Info 35 of 40\n"
                      "The unit stopped answering at G-Info 26 of 40 (no answer to 10 requests in a row)\n"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(EntryRequests(line).size(), 35u) << "not one request after the tenth silent entry";
    }
    const auto kept = LoadKeptReadOut(KeptFile());
    ASSERT_TRUE(kept);
    ContinueToTheUninterruptedFile(*kept);
}

// Killed at any moment, the program has kept every entry it had received.
TEST_F(CliLostLineTest, AReadKilledMidWayIsContinuedToTheSameFile) {
    {
        sim::Behaviour paced;
        paced.baud = 19200;
        test::SimLine line(Unit(), paced);
        const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "lexorant-cli";
        const std::string command = "cd '" + dir_.string() + "' && exec '" + program.string() +
                                    "' read COM1 --output unit.inf 2>err.txt";
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        pid_t pid = -1;
        ASSERT_EQ(::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
        const bool midWay = line.Simulator().WaitForRequests(kIdentification + 20, 60s);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        ASSERT_TRUE(midWay) << Slurp(dir_ / "err.txt");
    }
    EXPECT_FALSE(fs::exists(dir_ / "unit.inf"));
    const auto kept = LoadKeptReadOut(KeptFile());
    ASSERT_TRUE(kept);
    EXPECT_GE(kept->in.Count(), 19u) << "every entry answered before the last request";
    EXPECT_LT(kept->in.Count(), 50u);

    ContinueToTheUninterruptedFile(*kept);
}

// A unit whose log changed since (same serial number and block sizes), or --fresh: read anew, and
// nothing kept is mixed into the file.
TEST_F(CliLostLineTest, AChangedUnitOrFreshIsReadAnew) {
    const struct {
        std::uint32_t seed;
        const char* args;
        const char* says;
    } cases[] = {
        {2, "", "The log of 4711-0815 has changed since its read-out was kept: reading it anew\n"},
        {1, " --fresh", nullptr},
    };
    for (const auto& c : cases) {
        HangUpAtEntry26("--output unit.inf");
        test::SimLine line(Unit(c.seed));
        const CliRun run = Cli(std::string("read COM1 --output unit.inf") + c.args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err.find("Continuing"), std::string::npos) << run.err;
        if (c.says) {
            EXPECT_TRUE(run.err.starts_with(c.says)) << run.err;
        }
        EXPECT_EQ(Slurp(dir_ / "unit.inf"), FileBytes(line.Simulator().Unit().store)) << c.seed;
        auto asked = EntryRequests(line);
        if (c.says)
            asked.erase(asked.begin()); // the kept entry asked to compare
        EXPECT_EQ(asked, AllRequests()) << c.seed;
    }
}

// The adapter pulled and plugged in again while the read waits for it: the read goes on by itself to the
// uninterrupted read's file, and the unit is asked again only for the last entry read, to check it.
TEST_F(CliLostLineTest, AReadWaitingForTheUnitGoesOnWhenItComesBack) {
    sim::Behaviour hangUp;
    hangUp.hangUpAfter = kIdentification + 25;
    test::SimLine line(Unit(), hangUp);
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "lexorant-cli";
    const std::string command = "cd '" + dir_.string() + "' && exec '" + program.string() +
                                "' read COM1 --output unit.inf --wait 2 >out.txt 2>err.txt";
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    const bool hungUp = line.Simulator().WaitForRequests(kIdentification + 26, 60s);
    line.Replug(Unit());
    int status = -1;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(hungUp) << Slurp(dir_ / "err.txt");
    const std::string err = Slurp(dir_ / "err.txt");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;
    EXPECT_NE(err.find("The unit stopped answering at G-Info 26 of 40 (the line hung up)\n"
                       "Waiting for COM1 to come back ... (Ctrl+C ends; what was read is kept)\n"
                       "The unit answers again on COM1\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(Slurp(dir_ / "unit.inf"), FileBytes(line.Simulator().Unit().store));
    std::vector<std::string> expected{Request(InfoBlock::GInfo, 24)};
    const std::vector<std::string> all = AllRequests();
    expected.insert(expected.end(), all.begin() + 25, all.end());
    EXPECT_EQ(EntryRequests(line), expected);
    EXPECT_FALSE(fs::exists(KeptFile()));
}

// The disk full while the entries are kept: said when it happens, not at the end of a read of hours,
// and what was kept before it still counts.
TEST_F(CliLostLineTest, AFullDiskIsToldAtOnceAndWhatWasKeptBeforeStillCounts) {
    {
        sim::Behaviour hangUp;
        hangUp.hangUpAfter = kIdentification + kGCount + 4;
        test::SimLine line(Unit(), hangUp);
        // The kept read-out cannot grow beyond 512 or 1024 bytes (as the shell counts blocks): it fills
        // during G-Info or at X-Info 1. Standard error goes through a pipe, which no limit holds back.
        const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "lexorant-cli";
        const std::string command =
            "cd '" + dir_.string() + "' && (trap '' XFSZ; ulimit -f 1; '" + program.string() +
            "' read COM1 --output unit.inf 2>&1 >/dev/null; echo $? >&3) 3>code.txt | cat >err.txt";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string err = Slurp(dir_ / "err.txt");
        EXPECT_EQ(Slurp(dir_ / "code.txt"), "4\n") << err;
        const std::size_t full =
            err.find("Unable to keep the entries read in " + KeptFile().string() + " from ");
        EXPECT_LT(full, err.find("Reading X-Info 2 of 10")) << err;
        EXPECT_TRUE(err.ends_with("The unit stopped answering at X-Info 5 of 10 (the line hung up)\n"
                                  "What was read is kept in " +
                                  KeptFile().string() +
                                  ". Run the same command again to continue the read where it stopped.\n"))
            << err;
    }
    const auto kept = LoadKeptReadOut(KeptFile());
    ASSERT_TRUE(kept);
    EXPECT_GE(kept->in.Count(), 20u);
    ContinueToTheUninterruptedFile(*kept);
}

// Killed after its file was written and before its kept read-out was removed, a read leaves the kept
// read-out marked with the file's name: the same command then removes it and writes no second file.
TEST_F(CliLostLineTest, AReadKilledAfterWritingItsFileWritesNoSecondOne) {
    const fs::path drive = dir_ / "drive";
    const fs::path folder = drive / "geraete" / "Lexorant";
    fs::create_directories(folder);
    const sim::SimUnit unit = Unit();
    ASSERT_EQ(WriteInfoFile(unit.store, (folder / "4711-0815_01.inf").string()), "");
    {
        std::string error;
        auto keeper =
            KeptReadOutWriter::Begin(KeptFile(), unit.serial, unit.store.GInfo, unit.store.XInfo, error);
        ASSERT_TRUE(keeper) << error;
        for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo})
            for (std::uint16_t i = 0; i < (block == InfoBlock::GInfo ? kGCount : kXCount); ++i)
                keeper->Keep({block, i}, {SlotOf(unit.store, {block, i}), SlotSizeOf(block)});
        ASSERT_TRUE(keeper->MarkWritten("O:\\geraete\\Lexorant\\4711-0815_01.inf"));
    }
    const auto kept = LoadKeptReadOut(KeptFile());
    ASSERT_TRUE(kept);
    test::SimLine line(unit);
    fs::create_directory_symlink(drive, fs::path(std::getenv("XDG_CONFIG_HOME")) / "brenno-lexorant" /
                                            "dosdevices" / "o:");
    const CliRun run = Cli("read COM1 --autosave");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "O:\\geraete\\Lexorant\\4711-0815_01.inf\n");
    EXPECT_FALSE(fs::exists(folder / "4711-0815_02.inf"));
    EXPECT_FALSE(fs::exists(KeptFile()));
    EXPECT_EQ(EntryRequests(line), ContinuedRequests(*kept)) << "the check alone";
}

// Killed while its file was written, a read leaves a full-size temporary beside it: the next write
// into that folder removes it.
TEST_F(CliLostLineTest, AReadKilledWhileWritingItsFileLeavesNoTemporaryForEver) {
    const pid_t killed = ::fork();
    if (killed == 0)
        ::_exit(0);
    ASSERT_GT(killed, 0);
    ASSERT_EQ(::waitpid(killed, nullptr, 0), killed);
    const fs::path folder = dir_ / "out";
    fs::create_directories(folder);
    const fs::path left = folder / (TemporaryNamePrefix(killed) + "0-1.tmp");
    std::ofstream(left, std::ios::binary) << FileBytes(Unit().store);

    test::SimLine line(Unit());
    const CliRun run = Cli("read COM1 --output out/unit.inf");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(fs::exists(left));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "unit.inf alone";
}

TEST_F(CliLostLineTest, BaudAutoFindsTheRateTheUnitAnswersAt) {
    sim::Behaviour behaviour;
    behaviour.lineRate = 1200;
    test::SimLine line(Unit(), behaviour);
    const CliRun run = Cli("read COM1 --baud auto --output unit.inf");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.starts_with("The unit answers at 1200 bit/s\n")) << run.err;
    EXPECT_EQ(Slurp(dir_ / "unit.inf"), FileBytes(line.Simulator().Unit().store));
}

} // namespace
