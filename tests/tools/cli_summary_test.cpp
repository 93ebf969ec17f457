// lexorant-cli summary over a few hand-made read-outs, run as a process.
#include "tests/support/cli_process.h"
#include "tests/support/hand_made_read_out.h"
#include "file/info_file.h"

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace lexorant;
using test::HandMadeReadOut;
using test::Slurp;
namespace fs = std::filesystem;

namespace {

class CliSummaryTest : public test::CliProcessTest {
protected:
    void SetUp() override {
        CliProcessTest::SetUp();
        fs::create_directories(dir_ / "a" / "b");
        // Month 13 and day 0 are no dates; a zeroed stamp is none either.
        const RecordStore first =
            HandMadeReadOut({{-9, {9, 12, 24, 7, 5, 0}}, {-9, {10, 1, 1, 0, 0, 0}}, {0, {10, 13, 1, 0, 0, 0}}},
                            {{-4106, {10, 1, 2, 12, 0, 0}}, {-9, {0, 0, 0, 0, 0, 0}}});
        ASSERT_EQ(WriteInfoFile(first, (dir_ / "a" / "U1_01.inf").string()), "");
        ASSERT_EQ(WriteInfoFile(HandMadeReadOut({{-4106, {11, 5, 5, 8, 30, 0}}, {0, {11, 5, 0, 8, 30, 0}}},
                                                {{-4106, {0, 0, 0, 0, 0, 0}}}),
                                (dir_ / "a" / "b" / "U2_02.inf").string()),
                  "");
        // The first file, cut inside its last X-Info entry just after the entry's message code.
        ASSERT_EQ(WriteInfoFile(first, (dir_ / "a" / "c.inf").string()), "");
        fs::resize_file(dir_ / "a" / "c.inf", 12 + 3 * 16 + 96 + 10);
        std::ofstream(dir_ / "a" / "notes.txt") << "not a read-out";
    }
    int Run(const std::string& args) { return Cli("summary " + args, "LC_ALL=C ").exitCode; }
    std::string Out() { return Slurp(dir_ / "out.txt"); }
    std::string Err() { return Slurp(dir_ / "err.txt"); }
};

TEST_F(CliSummaryTest, SumsMessagesOverAFolderMostFrequentFirst) {
    ASSERT_EQ(Run("a"), 0) << Err();
    EXPECT_EQ(Out(), "Code\tKind\tG-Info\tX-Info\tFiles\tFirst\tLast\tMessage text\n"
                     "-9\tFault\t4\t2\t2\t24.12.09 07:05:00\t01.01.10 00:00:00\tPt100 Fühler Vorlauf (RF1) defekt\n"
                     "-4106\tNote\t1\t3\t3\t02.01.10 12:00:00\t05.05.11 08:30:00\tDer Sollwert wurde bei der Eingabe begrenzt\n"
                     "0\tNone\t3\t0\t3\t\t\tKeine Meldung!\n");
}

TEST_F(CliSummaryTest, ByFileTellsSerialFaultsAndDamage) {
    ASSERT_EQ(Run("a --by-file"), 0) << Err();
    EXPECT_EQ(Out(), "File\tSerial\tG-Info\tX-Info\tFirst\tLast\tFaults\tTop fault\tTop fault count\tDamaged\n"
                     "a/U1_01.inf\tU1\t3\t2\t24.12.09 07:05:00\t02.01.10 12:00:00\t3\t-9\t3\tno\n"
                     "a/b/U2_02.inf\tU2\t2\t1\t05.05.11 08:30:00\t05.05.11 08:30:00\t0\t\t0\tno\n"
                     "a/c.inf\t\t3\t2\t24.12.09 07:05:00\t02.01.10 12:00:00\t3\t-9\t3\tyes\n");
}

// A tab or line break in a file's name must not split its line of the table.
TEST_F(CliSummaryTest, ByFileKeepsOneLineOfTenFieldsForANameWithATabOrLineBreak) {
    fs::create_directories(dir_ / "odd");
    fs::copy_file(dir_ / "a" / "U1_01.inf", dir_ / "odd" / "U\t1\n_01.inf");
    ASSERT_EQ(Run("odd --by-file"), 0) << Err();
    EXPECT_EQ(Out(),
              "File\tSerial\tG-Info\tX-Info\tFirst\tLast\tFaults\tTop fault\tTop fault count\tDamaged\n"
              "odd/U?1?_01.inf\tU?1?\t3\t2\t24.12.09 07:05:00\t02.01.10 12:00:00\t3\t-9\t3\tno\n");
}

TEST_F(CliSummaryTest, ACutEntryCountsWithTheCodeTheGridShows) {
    ASSERT_EQ(Run("a/c.inf"), 0) << Err();
    EXPECT_EQ(Out(), "Code\tKind\tG-Info\tX-Info\tFiles\tFirst\tLast\tMessage text\n"
                     "-9\tFault\t2\t1\t1\t24.12.09 07:05:00\t01.01.10 00:00:00\tPt100 Fühler Vorlauf (RF1) defekt\n"
                     "-4106\tNote\t0\t1\t1\t02.01.10 12:00:00\t02.01.10 12:00:00\tDer Sollwert wurde bei der Eingabe begrenzt\n"
                     "0\tNone\t1\t0\t1\t\t\tKeine Meldung!\n");
}

TEST_F(CliSummaryTest, AnUnreadableFileIsSkippedWithExitThree) {
    ASSERT_EQ(Run("a/b/U2_02.inf missing.inf --by-file"), 3);
    EXPECT_NE(Err().find("missing.inf"), std::string::npos) << Err();
    EXPECT_EQ(Out(), "File\tSerial\tG-Info\tX-Info\tFirst\tLast\tFaults\tTop fault\tTop fault count\tDamaged\n"
                     "a/b/U2_02.inf\tU2\t2\t1\t05.05.11 08:30:00\t05.05.11 08:30:00\t0\t\t0\tno\n");
}

TEST_F(CliSummaryTest, AFolderReportsWhatItCannotOpenAsWhenNamed) {
    ASSERT_EQ(Run("a"), 0) << Err();
    const std::string whole = Out();
    fs::create_symlink(dir_ / "nowhere", dir_ / "a" / "gone.inf");
    ASSERT_EQ(Run("a/gone.inf"), 3);
    const std::string named = Err();
    EXPECT_EQ(named, "lexorant-cli summary: Unable to open file a/gone.inf (skipped)\n");
    ASSERT_EQ(Run("a"), 3);
    EXPECT_EQ(Err(), named);
    EXPECT_EQ(Out(), whole) << "the files beside the link count as before";

#ifndef _WIN32
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    fs::remove(dir_ / "a" / "gone.inf");
    fs::create_directory(dir_ / "a" / "locked");
    fs::permissions(dir_ / "a" / "locked", fs::perms::none);
    ASSERT_EQ(Run("a"), 3);
    fs::permissions(dir_ / "a" / "locked", fs::perms::owner_all);
    EXPECT_EQ(Err(), "lexorant-cli summary: Unable to open file a/locked (skipped)\n");
    EXPECT_EQ(Out(), whole);
#endif
}

TEST_F(CliSummaryTest, CsvQuotesSeparatorsAndQuotes) {
    fs::copy_file(dir_ / "a" / "b" / "U2_02.inf", dir_ / "q\"u,ote_03.inf");
    ASSERT_EQ(Run("'q\"u,ote_03.inf' --by-file --format csv"), 0) << Err();
    EXPECT_EQ(Out(), "File,Serial,G-Info,X-Info,First,Last,Faults,Top fault,Top fault count,Damaged\r\n"
                     "\"q\"\"u,ote_03.inf\",\"q\"\"u,ote\",2,1,05.05.11 08:30:00,05.05.11 08:30:00,0,,0,no\r\n");
}

TEST_F(CliSummaryTest, JsonIsAnArrayOfObjectsWithNumbersAndNulls) {
    ASSERT_EQ(Run("a/b/U2_02.inf --format json"), 0) << Err();
    EXPECT_EQ(Out(), "[\n"
                     "  {\"Code\": -4106, \"Kind\": \"Note\", \"G-Info\": 1, \"X-Info\": 1, \"Files\": 1, "
                     "\"First\": \"05.05.11 08:30:00\", \"Last\": \"05.05.11 08:30:00\", "
                     "\"Message text\": \"Der Sollwert wurde bei der Eingabe begrenzt\"},\n"
                     "  {\"Code\": 0, \"Kind\": \"None\", \"G-Info\": 1, \"X-Info\": 0, \"Files\": 1, "
                     "\"First\": null, \"Last\": null, \"Message text\": \"Keine Meldung!\"}\n"
                     "]\n");
}

} // namespace
