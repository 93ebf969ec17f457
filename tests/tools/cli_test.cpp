// lexorant-cli run as a process against a simulated controller, as a technician runs it.
#include "info_file_format.h"
#include "sim/unit.h"
#include "sim_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/lexorant-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // env: extra "NAME=value " assignments in front of the command.
    CliRun Cli(const std::string& args, const std::string& env = "") {
        const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "lexorant-cli";
        const std::string command = "cd '" + dir_.string() + "' && " + env + "'" + program.string() + "' " + args +
                                    " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        CliRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Slurp(dir_ / "out.txt");
        run.err = Slurp(dir_ / "err.txt");
        return run;
    }

    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }

    fs::path dir_;
};

sim::SimUnit SmallUnit() {
    sim::GenerateOptions options;
    options.gCount = 3;
    options.xCount = 2;
    return sim::GenerateUnit(options);
}

std::string FileBytes(const RecordStore& store) {
    const auto bytes = EncodeInfoFile(store);
    return {bytes.begin(), bytes.end()};
}

} // namespace

TEST_F(CliTest, CleanReadWritesTheUnitAndReportsEveryStep) {
    test::SimLine line(SmallUnit());
    const CliRun run = Cli("read COM1 --output unit.inf");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "unit.inf\n");
    EXPECT_EQ(run.err, "Reading G-Info 1 of 3\nReading G-Info 2 of 3\nReading G-Info 3 of 3\n3 G-Infos read\n"
                       "Reading X-Info 1 of 2\nReading X-Info 2 of 2\n2 X-Infos read\n");
    EXPECT_EQ(Slurp(dir_ / "unit.inf"), FileBytes(line.Simulator().Unit().store));
}

TEST_F(CliTest, WithoutOutputTheFileIsNamedAfterTheSerial) {
    test::SimLine line(SmallUnit());
    const CliRun run = Cli("read COM1");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "4711-0815.inf\n");
    EXPECT_TRUE(fs::exists(dir_ / "4711-0815.inf"));
}

struct EntryFailureCase {
    sim::EntryFault fault;
    const char* text;
    std::size_t zeroOffset; // where the failed entry's bytes lie in the file
    std::size_t size;
};

TEST_F(CliTest, FailedEntriesAreReportedZeroedAndTheFileStillWritten) {
    const EntryFailureCase cases[] = {
        {{'G', 1, sim::FaultKind::WrongChecksum}, "CRC error in G-Info 2", 12 + 16, 16},
        {{'X', 0, sim::FaultKind::MissingCharacter}, "Answer of X-Info 1 incomplete!", 12 + 3 * 16, 96},
    };
    for (const auto& c : cases) {
        sim::Behaviour behaviour;
        behaviour.faults.push_back(c.fault);
        test::SimLine line(SmallUnit(), behaviour);
        const CliRun run = Cli("read COM1 --output unit.inf");
        EXPECT_EQ(run.exitCode, 3) << c.text;
        EXPECT_NE(run.err.find(std::string(c.text) + "\n"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("2 X-Infos read"), std::string::npos) << "the read goes on";
        const std::string file = Slurp(dir_ / "unit.inf");
        ASSERT_EQ(file.size(), 12u + 3 * 16 + 2 * 96);
        EXPECT_EQ(file.substr(c.zeroOffset, c.size), std::string(c.size, '\0')) << c.text;
    }
}

TEST_F(CliTest, IdentificationFailuresEndWithTheirTextAndNoFile) {
    const std::pair<std::size_t, const char*> cases[] = {
        {1, "Unable to read the serial number! Please check the baudrate\n"},
        {2, "Unable to read G-Info type!\n"},
        {3, "Unable to read X-Info type!\n"},
    };
    for (const auto& [answered, text] : cases) {
        sim::Behaviour behaviour;
        behaviour.stopAfter = answered; // the flush counts as the first request
        test::SimLine line(SmallUnit(), behaviour);
        const CliRun run = Cli("read COM1 --output unit.inf");
        EXPECT_EQ(run.exitCode, 2) << text;
        EXPECT_EQ(run.err, text);
        EXPECT_FALSE(fs::exists(dir_ / "unit.inf"));
    }
}

TEST_F(CliTest, UnusablePortOrFileExitsWithOne) {
    EXPECT_EQ(Cli("read /nonexistent/tty").exitCode, 1);
    EXPECT_EQ(Cli("read").exitCode, 1);
    EXPECT_EQ(Cli("read COM1 --baud 300").exitCode, 1);

    test::SimLine line(SmallUnit());
    const CliRun run = Cli("read COM1 --output /nonexistent/folder/unit.inf");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Unable to write file /nonexistent/folder/unit.inf\n"), std::string::npos) << run.err;
}

TEST_F(CliTest, MessageTakesANegativeCodeAsTheCode) {
    CliRun run = Cli("message -1");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Der Übertemperaturschutz meldet: Übertemperatur an ÜT-Fühler 1\n");
    EXPECT_EQ(Cli("message 0").out, "Keine Meldung!\n");
    run = Cli("message abc");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Variante des Typs (String) konnte nicht in Typ (Double) konvertiert werden\n");
}

TEST_F(CliTest, ShowPrintsDamagedAndForeignFilesWithoutFailing) {
    // A header announcing 65535 entries of each block with nothing behind it.
    const std::string huge("\x24\x00\x00\x00\xFF\xFF\xC4\x00\x03\x00\xFF\xFF", 12);
    const std::pair<std::string, std::string> files[] = {
        {"empty.inf", ""}, {"short.inf", "\x24\x00\x00"}, {"huge.inf", huge}, {"foreign.inf", Slurp("/bin/true")}};
    for (const auto& [name, bytes] : files) {
        WriteFile(name, bytes);
        for (const char* block : {"G", "X"}) {
            const CliRun run = Cli("show " + name + " --block " + block);
            EXPECT_EQ(run.exitCode, 0) << name << " " << block << ": " << run.err;
            EXPECT_FALSE(run.out.empty()) << name;
        }
    }
    const CliRun huge_g = Cli("show huge.inf");
    EXPECT_EQ(std::count(huge_g.out.begin(), huge_g.out.end(), '\n'), 65536);
    EXPECT_EQ(Cli("show missing.inf").exitCode, 1);
}

TEST_F(CliTest, ShowFollowsTheLocaleInCsv) {
    RecordStore store;
    store.Replace({36, 0, 1}, {196, 2, 1});
    store.XInfoSlot(0)[80] = 7; // pump hours 3.5
    WriteFile("unit.inf", FileBytes(store));

    const CliRun german = Cli("show unit.inf --block X --format csv", "LC_ALL=de_DE.UTF-8 ");
    ASSERT_EQ(german.exitCode, 0);
    std::istringstream lines(german.out);
    std::string heading, entry;
    std::getline(lines, heading);
    std::getline(lines, entry);
    EXPECT_EQ(heading.rfind("No.;Type;Date;Time;Message;", 0), 0u) << heading;
    EXPECT_NE(entry.find(";3,5;0;Keine Meldung!\r"), std::string::npos) << entry;

    const CliRun english = Cli("show unit.inf --block X", "LC_ALL=C ");
    EXPECT_NE(english.out.find("\t3.5\t0\tKeine Meldung!\n"), std::string::npos) << english.out;
}
