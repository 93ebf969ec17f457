// lexorant-cli chart, run as a process without a display, where the program was built with it.
#include "tests/support/cli_process.h"
#include "file/info_file.h"
#include "tools/sim/unit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

class CliChartTest : public test::CliProcessTest {
protected:
    void SetUp() override {
        CliProcessTest::SetUp();
        if (Run("--help") != 0 || test::Slurp(dir_ / "out.txt").find("chart FILE") == std::string::npos)
            GTEST_SKIP() << "lexorant-cli is built without the chart";
        sim::GenerateOptions options;
        options.xCount = 30;
        options.xType = 1;
        ASSERT_EQ(WriteInfoFile(sim::GenerateUnit(options).store, (dir_ / "unit.inf").string()), "");
        options.xCount = 0;
        ASSERT_EQ(WriteInfoFile(sim::GenerateUnit(options).store, (dir_ / "no-x.inf").string()), "");
    }
    // No display: DISPLAY and QT_QPA_PLATFORM unset, so the program must choose offscreen itself.
    int Run(const std::string& args) {
        return Cli(args, "env -u DISPLAY -u QT_QPA_PLATFORM ").exitCode;
    }
    std::string Err() { return test::Slurp(dir_ / "err.txt"); }
};

TEST_F(CliChartTest, DrawsPngAndSvgWithoutADisplay) {
    ASSERT_EQ(Run("chart unit.inf --output c.png --size 640x400"), 0) << Err();
    EXPECT_EQ(test::Slurp(dir_ / "c.png").substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(Err(), "");
    ASSERT_EQ(Run("chart unit.inf --output c.svg --series TI,T0Ht --by-entry"), 0) << Err();
    EXPECT_NE(test::Slurp(dir_ / "c.svg").find("<svg"), std::string::npos);
}

// As every other writer: a named pipe stays a pipe and gets the picture.
TEST_F(CliChartTest, APictureOntoAPipeGoesThroughIt) {
    ASSERT_EQ(::mkfifo((dir_ / "c.png").c_str(), 0600), 0);
    const int reader = ::open((dir_ / "c.png").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(Run("chart unit.inf --output c.png --size 100x100"), 0) << Err();
    EXPECT_TRUE(fs::is_fifo(dir_ / "c.png"));
    char head[8] = {};
    EXPECT_EQ(::read(reader, head, sizeof head), 8);
    EXPECT_EQ(std::string(head, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    ::close(reader);
}

TEST_F(CliChartTest, RefusesWhatItCannotDraw) {
    struct Case {
        const char* args;
        const char* says;
    };
    const Case cases[] = {
        {"chart unit.inf --output c.png --series Setpoint,Nope", "valid: MinSetpoint,MaxSetpoint,Setpoint,TI"},
        {"chart unit.inf --output c.png --series PumpHours", "no series 'PumpHours'"},
        {"chart no-x.inf --output c.png", "has no X-Info entries"},
        {"chart missing.inf --output c.png", "Unable to open file missing.inf"},
        {"chart unit.inf --output c.jpg", "must end in .png or .svg"},
        {"chart unit.inf --output c.png --size 10x10", "--size takes"},
        {"chart unit.inf", "FILE and --output"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args), 1) << c.args;
        EXPECT_NE(Err().find(c.says), std::string::npos) << c.args << ": " << Err();
    }
    EXPECT_FALSE(fs::exists(dir_ / "c.png"));
}

} // namespace
