// The lexorant-sim program, run as a process the way a developer runs it.
#include "link/serial_port.h"
#include "tools/sim/answers.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace lexorant;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// The program lands beside this test binary.
fs::path SimulatorProgram() {
    return fs::read_symlink("/proc/self/exe").parent_path() / "lexorant-sim";
}

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int out[2];
        if (::pipe(out) != 0)
            throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, out[1]);
        const std::string program = SimulatorProgram().string();
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int error = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
        if (error != 0)
            pid_ = -1;
    }

    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
    }

    // Standard output up to the first line end, or all of it when the program ends first.
    std::string FirstLine() {
        std::string line;
        pollfd p{out_, POLLIN, 0};
        char c = 0;
        while (::poll(&p, 1, 5000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }

    std::string RestOfOutput() {
        std::string rest;
        char buffer[512];
        for (ssize_t n; (n = ::read(out_, buffer, sizeof buffer)) > 0;)
            rest.append(buffer, static_cast<std::size_t>(n));
        return rest;
    }

    // Exit code, or -1 when the program did not exit by itself.
    int Wait() {
        int status = 0;
        const bool waited = ::waitpid(pid_, &status, 0) == pid_;
        pid_ = -1;
        return waited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int Terminate() {
        ::kill(pid_, SIGTERM);
        return Wait();
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

class LexorantSim : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(SimulatorProgram())) << "build the lexorant-sim target first";
        char folder[] = "/tmp/lexorant-simtool-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        folder_ = folder;
        ::setenv("XDG_CONFIG_HOME", folder, 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(folder_);
    }

    fs::path folder_;
};

TEST_F(LexorantSim, ServesGeneratedUnitAsComPortUntilTerminated) {
    SimProcess process(
        {"--link", "com3", "--g-count", "2", "--x-count", "1", "--serial", "S-42", "--seed", "7"});
    const std::string device = process.FirstLine();
    ASSERT_TRUE(device.starts_with("/dev/pts/")) << device;
    const fs::path link = folder_ / "brenno-lexorant" / "dosdevices" / "com3";
    EXPECT_EQ(fs::read_symlink(link), device);

    sim::GenerateOptions options;
    options.gCount = 2;
    options.xCount = 1;
    options.seed = 7;
    const sim::SimUnit expected = sim::GenerateUnit(options);
    {
        SerialPort port;
        ASSERT_TRUE(port.OpenPort("COM3", 9600));
        EXPECT_EQ(port.Exchange("SN?\r\n", 9).answer, "SN S-42\r\n");
        EXPECT_EQ(port.Exchange("GI?\r\n", 13).answer, "GI 24000002\r\n");
        EXPECT_EQ(port.Exchange("XI?\r\n", 13).answer, "XI C4030001\r\n");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.Exchange("XI@ 0\r\n", 196).answer, sim::EncodeEntryAnswer(expected.store.XInfoSlot(0), 96));
        // Paced at 9600 bits per second: 196 characters cannot arrive in much under 204 ms.
        EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
    }
    EXPECT_EQ(process.Terminate(), 0);
    EXPECT_FALSE(fs::is_symlink(link));
}

TEST_F(LexorantSim, ServesReadOutFile) {
    std::vector<std::uint8_t> bytes = {0x24, 0, 0, 0, 2, 0, 0xC4, 0, 1, 0, 1, 0};
    for (int i = 0; i < 2 * 16 + 96; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i * 7 + 3));
    const fs::path file = folder_ / "unit.inf";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    const fs::path log = folder_ / "requests.txt";
    SimProcess process({"--file", file.string(), "--unpaced", "--request-log", log.string()});
    const std::string device = process.FirstLine();
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(device, 9600));
    EXPECT_EQ(port.Exchange("GI?\r\n", 13).answer, "GI 24000002\r\n");
    EXPECT_EQ(port.Exchange("XI?\r\n", 13).answer, "XI C4010001\r\n");
    EXPECT_EQ(port.Exchange("GI@ 1\r\n", 36).answer, sim::EncodeEntryAnswer(bytes.data() + 12 + 16, 16));
    EXPECT_EQ(port.Exchange("XI@ 0\r\n", 196).answer, sim::EncodeEntryAnswer(bytes.data() + 12 + 32, 96));
    // Each request is logged before it is answered.
    std::ifstream logged(log);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(logged), {}), "GI?\nXI?\nGI@ 1\nXI@ 0\n");
    port.ClosePort();
    EXPECT_EQ(process.Terminate(), 0);
}

struct Invocation {
    std::vector<std::string> args;
    int exitCode;
};

TEST_F(LexorantSim, HelpAndBadOptionsEndAtOnce) {
    const std::array<Invocation, 6> invocations = {{
        {{"--help"}, 0},
        {{"--x-type", "4"}, 2},
        {{"--fault", "Q:1:zero"}, 2},
        {{"--link", "com16"}, 2},
        {{"--line-rate", "300"}, 2},
        {{"--file", "/nonexistent/unit.inf"}, 1},
    }};
    for (const auto& invocation : invocations) {
        SimProcess process(invocation.args);
        const std::string output = process.RestOfOutput();
        EXPECT_EQ(process.Wait(), invocation.exitCode) << invocation.args.front();
        if (invocation.exitCode == 0) {
            EXPECT_NE(output.find("--fault"), std::string::npos);
        }
    }
}

} // namespace
