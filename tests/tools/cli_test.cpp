// lexorant-cli run as a process against a simulated controller, as a technician runs it.
#include "tests/support/cli_process.h"
#include "file/info_file_format.h"
#include "tools/sim/com_link.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit.h"
#include "tests/support/sim_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

using namespace lexorant;
using test::CliRun;
using test::Slurp;
namespace fs = std::filesystem;

namespace {

class CliTest : public test::CliProcessTest {
protected:
    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
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

TEST_F(CliTest, IdentificationFailuresEndWithTheirTextTheReasonAndNoFile) {
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
        EXPECT_EQ(run.err, std::string(text) + "(no answer within 2000 ms)\n");
        EXPECT_FALSE(fs::exists(dir_ / "unit.inf"));
    }
}

TEST_F(CliTest, TraceOfASilentUnitShowsEveryExchangeAndWhyItFailed) {
    sim::Behaviour silent;
    silent.stopAfter = 0;
    test::SimLine line(SmallUnit(), silent);
    const CliRun run = Cli("read COM1 --trace trace.txt");
    EXPECT_EQ(run.exitCode, 2);
    const std::string trace = Slurp(dir_ / "trace.txt");
    EXPECT_NE(trace.find(" > 2 bytes: 0D 0A |..|\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" > 5 bytes: 53 4E 3F 0D 0A |SN?..|\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" < 0 bytes time-out after 2000 ms\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" # Unable to read the serial number! Please check the baudrate (no answer within 2000 ms)\n"),
              std::string::npos)
        << trace;

    const CliRun unwritable = Cli("read COM1 --trace /nonexistent/trace.txt");
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err,
              "lexorant-cli read: cannot write the trace '/nonexistent/trace.txt': No such file or directory\n");
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

// Several laptops read units with the same serial number into one shared folder at once: every
// read-out ends in a file of its own, under the name that its run printed.
TEST_F(CliTest, ConcurrentAutosaveReadsEachKeepTheirFile) {
    constexpr int kReaders = 4;
    const fs::path config = dir_ / "config";
    const fs::path folder = dir_ / "drive" / "geraete" / "Lexorant";
    fs::create_directories(config / "brenno-lexorant" / "dosdevices");
    fs::create_directories(folder);
    fs::create_directory_symlink(dir_ / "drive", config / "brenno-lexorant" / "dosdevices" / "o:");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> savedConfig = saved ? std::optional<std::string>(saved) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    std::vector<std::unique_ptr<sim::Simulator>> units;
    std::vector<std::unique_ptr<sim::ComLink>> links;
    std::string script = "cd '" + dir_.string() + "' || exit 1; ";
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "lexorant-cli";
    for (int i = 1; i <= kReaders; ++i) {
        sim::GenerateOptions options; // the same serial number for all
        options.gCount = 20;
        options.xCount = 5;
        options.seed = static_cast<std::uint32_t>(i);
        units.push_back(std::make_unique<sim::Simulator>(sim::GenerateUnit(options)));
        std::string error;
        ASSERT_TRUE(units.back()->Start(error)) << error;
        links.push_back(std::make_unique<sim::ComLink>("com" + std::to_string(i), units.back()->SlavePath()));
        const std::string n = std::to_string(i);
        script += "('" + program.string() + "' read COM" + n + " --baud 19200 --autosave >out" + n + " 2>err" + n +
                  "; echo $? >rc" + n + ") & ";
    }
    script += "wait";
    std::system(script.c_str());
    links.clear();
    if (savedConfig)
        ::setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");

    std::set<std::string> printed;
    for (int i = 1; i <= kReaders; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(Slurp(dir_ / ("rc" + n)), "0\n") << Slurp(dir_ / ("err" + n));
        std::string name = Slurp(dir_ / ("out" + n));
        ASSERT_TRUE(name.starts_with("O:\\geraete\\Lexorant\\4711-0815_") && name.ends_with(".inf\n")) << name;
        name = name.substr(20, name.size() - 21);
        printed.insert(name);
        EXPECT_EQ(Slurp(folder / name), FileBytes(units[static_cast<std::size_t>(i - 1)]->Unit().store))
            << "reader " << n << " printed " << name;
    }
    EXPECT_EQ(printed.size(), static_cast<std::size_t>(kReaders));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), kReaders) << "no other file, no temporary";
}

// Nothing but a regular file is shown; pipes and devices fail at once, as a missing file does.
TEST_F(CliTest, ShowRefusesWhatIsNoRegularFile) {
    ASSERT_EQ(::mkfifo((dir_ / "pipe.inf").c_str(), 0600), 0);
    fs::create_directory(dir_ / "folder.inf");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (dir_ / "socket.inf").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (const char* name : {"missing.inf", "pipe.inf", "folder.inf", "socket.inf", "/dev/zero"}) {
        const CliRun run = Cli(std::string("show ") + name);
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.err, std::string("Unable to open file ") + name + "\n");
        EXPECT_EQ(run.out, "");
    }
    ::close(sock);
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
