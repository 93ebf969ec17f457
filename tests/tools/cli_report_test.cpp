// lexorant-cli report, run as a process without a display; the PDF is read back with poppler's tools.
#include "file/info_file.h"
#include "tests/support/cli_process.h"
#include "tests/support/hand_made_read_out.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace lexorant;
using lexorant::test::CliRun;
using lexorant::test::Slurp;
namespace fs = std::filesystem;

namespace {

// At `hour` o'clock on `day` February 2010.
test::HandEntry At(int code, std::uint8_t day, std::uint8_t hour) {
    return {code, {10, 2, day, hour, 0, 0}};
}

// The lines of the text that match, in order, with their captured groups joined by spaces.
std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern, std::regex::multiline);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        std::string joined;
        for (std::size_t g = 1; g < it->size(); ++g)
            joined += (g > 1 ? " " : "") + (*it)[g].str();
        found.push_back(joined);
    }
    return found;
}

const char* const kFaultRow = R"(^ *(\d+) +(G-Info|X-Info) +\d\d\.\d\d\.\d\d +(\d\d:\d\d:\d\d) +(-?\d+) )";

class CliReportTest : public test::CliProcessTest {
protected:
    void SetUp() override {
        CliProcessTest::SetUp();
        const CliRun help = Cli("--help");
        if (help.exitCode != 0 || help.out.find("report FILE") == std::string::npos)
            GTEST_SKIP() << "lexorant-cli is built without the report";
        withChart_ = help.out.find("chart FILE") != std::string::npos;
        if (std::system("command -v pdftotext >/dev/null && command -v pdffonts >/dev/null") != 0)
            GTEST_SKIP() << "poppler-utils missing";
        // Faults at 1 to 9 o'clock of 2 February 2010, the last two in the X-Info block.
        const RecordStore unit = test::HandMadeReadOut({At(-16385, 1, 0), At(-1, 1, 3), At(-4300, 1, 2),
                                                        At(-16385, 1, 4), At(-1, 1, 1), At(-16385, 2, 0),
                                                        At(-1, 1, 9), At(-16385, 2, 1), At(-16385, 2, 2)},
                                                       {At(-4, 1, 3), At(0, 1, 5), At(-4, 1, 8)});
        ASSERT_EQ(WriteInfoFile(unit, (dir_ / "4711-0815_03.inf").string()), "");
    }

    // No display: DISPLAY and QT_QPA_PLATFORM unset, so the program must choose offscreen itself.
    CliRun Report(const std::string& args, const std::string& settings = "") {
        return Cli("report " + args, "env -u DISPLAY -u QT_QPA_PLATFORM " + settings + " ");
    }
    std::string Poppler(const std::string& command) {
        EXPECT_EQ(std::system(("cd '" + dir_.string() + "' && " + command + " >poppler.txt").c_str()), 0)
            << command;
        return Slurp(dir_ / "poppler.txt");
    }

    bool withChart_ = false;
};

TEST_F(CliReportTest, SaysWhatTheReadOutLogged) {
    const CliRun run = Report("4711-0815_03.inf --output r.pdf");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "r.pdf\n");
    const std::string text = Poppler("pdftotext -layout r.pdf -");
    for (const char* fact :
         {R"(^Service report$)", R"(^Read-out: +4711-0815_03\.inf$)", R"(^Serial number: +4711-0815$)",
          R"(^Report made: +\d\d\.\d\d\.20\d\d \d\d:\d\d$)", R"(^G-Info entries: +9$)",
          R"(^X-Info entries: +3 \(X-Info type 3\)$)",
          R"(^Time span: +01\.02\.10 00:00:00 to 02\.02\.10 02:00:00$)", R"(^Fault entries: +6$)",
          R"(^ *4711-0815_03\.inf +Page 1 of 1$)"})
        EXPECT_EQ(Matches(text, fact).size(), 1u) << fact << "\n" << text;
    EXPECT_EQ(Matches(text, R"(Temperatures \(°C\))").size(), withChart_ ? 1u : 0u);
    if (withChart_) { // the value axis's numbers with the user's decimal separator
        const char* const label = R"(^ +-?\d+([.,])\d+(?: |$))";
        const auto plain = Matches(text, label);
        EXPECT_EQ(std::set<std::string>(plain.begin(), plain.end()), std::set<std::string>{"."});
        ASSERT_EQ(Report("4711-0815_03.inf --output de.pdf", "LC_ALL=de_DE.UTF-8").exitCode, 0);
        const auto german = Matches(Poppler("pdftotext -layout de.pdf -"), label);
        EXPECT_EQ(std::set<std::string>(german.begin(), german.end()), std::set<std::string>{","});
    }
    // Faults first, most frequent first; then the rest.
    EXPECT_EQ(Matches(text, R"(^(-?\d+) +(Fault|Event|None) +(\d+) +(\d+) )"),
              (std::vector<std::string>{"-1 Fault 3 0", "-4 Fault 0 2", "-4300 Fault 1 0", "-16385 Event 5 0",
                                        "0 None 0 1"}));
    EXPECT_EQ(
        Matches(text, kFaultRow),
        (std::vector<std::string>{"5 G-Info 01:00:00 -1", "3 G-Info 02:00:00 -4300", "2 G-Info 03:00:00 -1",
                                  "1 X-Info 03:00:00 -4", "3 X-Info 08:00:00 -4", "7 G-Info 09:00:00 -1"}));
    for (const char* message : {"Bitte füllen Sie nach!", "Übertemperatur an ÜT-Fühler 1", "Badtemperatur"})
        EXPECT_NE(text.find(message), std::string::npos) << message;
    // Vectors and embedded fonts: no picture on the page, every font in the file.
    EXPECT_EQ(Matches(Poppler("pdfimages -list r.pdf"), R"(^ +(1) +\d+ +image)").size(), 0u);
    const std::string fonts = Poppler("pdffonts r.pdf");
    EXPECT_EQ(Matches(fonts, R"(^(\S+) .* (yes|no) +(yes|no) +(yes|no) +\d+ +\d+$)"),
              (std::vector<std::string>{"DejaVuSans yes no yes", "DejaVuSans-Bold yes no yes"}))
        << fonts;
}

TEST_F(CliReportTest, LongReportRepeatsTheTableHeadAndNumbersItsPages) {
    sim::GenerateOptions options;
    options.gCount = 2500;
    options.xCount = 0;
    ASSERT_EQ(WriteInfoFile(sim::GenerateUnit(options).store, (dir_ / "long.inf").string()), "");
    const CliRun run = Report("long.inf --output long.pdf");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string text = Poppler("pdftotext -layout long.pdf -");
    std::vector<std::string> pages;
    for (std::size_t start = 0, end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        pages.push_back(text.substr(start, end - start));
    ASSERT_GT(pages.size(), 10u);
    const std::string of = " of " + std::to_string(pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(Matches(pages[p], "Page (\\d+)" + of + "$"),
                  std::vector<std::string>{std::to_string(p + 1)});
        if (p > 0) { // the fault list goes on, under its head
            EXPECT_EQ(Matches(pages[p], R"(^(No\.) +Block +Date +Time +Code +Message text$)").size(), 1u)
                << p + 1;
        }
    }
    EXPECT_EQ(Matches(text, R"(Temperatures \(°C\))").size(), 0u); // no X-Info entries, no chart
    // Not one fault entry lost at a page's end.
    const auto faults = Matches(text, R"(^Fault entries: +(\d+)$)");
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(std::to_string(Matches(text, kFaultRow).size()), faults.front());
}

// A name on drive O: means the folder the drive is mapped to, for the report as for the ".inf" files.
TEST_F(CliReportTest, WritesToTheMappedDrive) {
    const fs::path devices = dir_ / "config" / "brenno-lexorant" / "dosdevices";
    fs::create_directories(devices);
    fs::create_directories(dir_ / "drive" / "berichte");
    fs::create_directory_symlink(dir_ / "drive", devices / "o:");
    const std::string config = "XDG_CONFIG_HOME='" + (dir_ / "config").string() + "'";
    const CliRun run = Report(R"(4711-0815_03.inf --output 'O:\berichte\x.pdf')", config);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "O:\\berichte\\x.pdf\n");
    EXPECT_TRUE(fs::is_regular_file(dir_ / "drive" / "berichte" / "x.pdf"));
    if (withChart_) {
        const CliRun chart = Cli(R"(chart 4711-0815_03.inf --output 'O:\berichte\x.svg')",
                                 "env -u DISPLAY -u QT_QPA_PLATFORM " + config + " ");
        ASSERT_EQ(chart.exitCode, 0) << chart.err;
        EXPECT_TRUE(fs::is_regular_file(dir_ / "drive" / "berichte" / "x.svg"));
    }
}

TEST_F(CliReportTest, RefusesWhatItCannotReadOrWrite) {
    fs::create_directory(dir_ / "adir");
    struct Case {
        const char* args;
        const char* says;
    };
    const Case cases[] = {
        {"missing.inf --output r.pdf", "Unable to open file missing.inf\n"},
        {"4711-0815_03.inf --output no/such/r.pdf", "Unable to write file no/such/r.pdf\n"},
        {"4711-0815_03.inf --output adir", "Unable to write file adir\n"},
        {"4711-0815_03.inf", "lexorant-cli report: FILE and --output NAME.pdf are needed\n"},
        {"4711-0815_03.inf --output r.pdf more", "lexorant-cli report: unexpected argument 'more'\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Report(c.args);
        EXPECT_EQ(run.exitCode, 1) << c.args;
        EXPECT_EQ(run.err, c.says) << c.args;
    }
    EXPECT_FALSE(fs::exists(dir_ / "r.pdf"));
}

TEST_F(CliReportTest, SinceAnEarlierReadOutSaysWhatIsNew) {
    // The visit before: two of the later G-Info entries and one X-Info entry, and one entry since lost.
    ASSERT_EQ(WriteInfoFile(test::HandMadeReadOut({At(-1, 1, 3), At(-16385, 1, 4), At(-16385, 1, 5)}, {At(-4, 1, 3)}),
                            (dir_ / "4711-0815_02.inf").string()),
              "");
    const CliRun run = Report("4711-0815_03.inf --output r.pdf --since 4711-0815_02.inf");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string text = Poppler("pdftotext -layout r.pdf -");
    const std::size_t begin = text.find("\nSince the previous read-out\n");
    const std::size_t end = text.find("\nMessages\n");
    ASSERT_LT(begin, end) << text;
    const std::string since = text.substr(begin, end - begin);
    for (const char* fact :
         {R"(^Earlier read-out: +4711-0815_02\.inf$)", R"(^Its last time stamp: +01\.02\.10 05:00:00$)",
          R"(^G-Info: +7 new, 2 known, 1 gone, 0 empty$)", R"(^X-Info: +2 new, 1 known, 0 gone, 0 empty$)"})
        EXPECT_EQ(Matches(since, fact).size(), 1u) << fact << "\n" << since;
    EXPECT_EQ(Matches(since, kFaultRow), (std::vector<std::string>{"5 G-Info 01:00:00 -1", "3 G-Info 02:00:00 -4300",
                                                                   "3 X-Info 08:00:00 -4", "7 G-Info 09:00:00 -1"}));
    EXPECT_EQ(Matches(since, R"(^(-?\d+) +(Fault|Event|None) +(\d+) )"),
              (std::vector<std::string>{"-4300 Fault 1", "0 None 1"}));

    const CliRun missing = Report("4711-0815_03.inf --output r2.pdf --since missing.inf");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Unable to open file missing.inf\n");
    EXPECT_FALSE(fs::exists(dir_ / "r2.pdf"));
}

} // namespace
