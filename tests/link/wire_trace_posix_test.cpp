#include "link/wire_trace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

using namespace lexorant;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;

namespace {

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class WireTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/lexorant-trace-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(WireTraceTest, OneLinePerDirectionWithTimeHexTextAndHowTheAnswerEnded) {
    const auto file = dir_ / "trace.txt";
    std::string error;
    {
        auto trace = WireTrace::Open(file.string(), error);
        ASSERT_TRUE(trace) << error;
        trace->Request("SN?\r\n");
        trace->Answer(Exchanged{std::string("SN 4\xE4\0", 6), ExchangeEnd::TimedOut, 0,
                                std::chrono::milliseconds(2000)});
        trace->Answer(Exchanged{"", ExchangeEnd::WriteFailed, EIO});
        trace->Note("Unable to read the serial number! Please check the baudrate (the line hung up)");
    }
    EXPECT_THAT(Lines(file),
                ElementsAre(MatchesRegex(" *[0-9]+ ms > 5 bytes: 53 4E 3F 0D 0A \\|SN\\?\\.\\.\\|"),
                            MatchesRegex(" *[0-9]+ ms < 6 bytes: 53 4E 20 34 E4 00 \\|SN 4\\.\\.\\| "
                                         "time-out after 2000 ms"),
                            MatchesRegex(" *[0-9]+ ms < 0 bytes write failed: Input/output error"),
                            MatchesRegex(" *[0-9]+ ms # Unable to read the serial number! Please check the "
                                         "baudrate \\(the line hung up\\)")));
}

// The name as the user typed it: a drive letter means the folder the drive is mapped to.
TEST_F(WireTraceTest, ANameOnADriveIsWrittenWhereTheDriveLeads) {
    const auto devices = dir_ / "config" / "brenno-lexorant" / "dosdevices";
    std::filesystem::create_directories(devices);
    std::filesystem::create_directory_symlink(dir_, devices / "o:");
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    std::string error;
    EXPECT_TRUE(WireTrace::Open("O:\\trace.txt", error)) << error;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "trace.txt"));
    EXPECT_FALSE(WireTrace::Open("P:\\trace.txt", error));
    EXPECT_EQ(error, "its drive cannot be reached");
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(WireTraceTest, APipeWithoutReaderIsRefusedAtOnce) {
    const auto fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(WireTrace::Open(fifo.string(), error));
    EXPECT_EQ(error, "a pipe without a reader");
    EXPECT_FALSE(WireTrace::Open((dir_ / "missing" / "trace.txt").string(), error));
    EXPECT_EQ(error, "No such file or directory");
}

} // namespace
