#pragma once
// lexorant-cli run as a process in a private temporary folder, its output kept in files there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace lexorant::test {

inline std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/lexorant-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
        // Read-outs kept by a run stay with the test: never the user's, never another test's.
        ::setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_STATE_HOME");
        std::filesystem::remove_all(dir_);
    }

    // `env`: "NAME=value " assignments (or an `env ...` prefix) in front of the program.
    CliRun Cli(const std::string& args, const std::string& env = "") {
        const auto program = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "lexorant-cli";
        const std::string command = "cd '" + dir_.string() + "' && " + env + "'" + program.string() + "' " + args +
                                    " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        CliRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Slurp(dir_ / "out.txt");
        run.err = Slurp(dir_ / "err.txt");
        return run;
    }

    std::filesystem::path dir_;
};

} // namespace lexorant::test
