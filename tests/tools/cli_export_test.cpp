// lexorant-cli export run as a process: the dataset's files, what a second run redoes, --prune, the lock,
// and what it says of inputs and outputs it cannot use.
#ifdef LEXORANT_WITH_EXPORT
#include "tests/support/cli_process.h"
#include "tests/support/generated_archive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

class CliExportTest : public test::CliProcessTest {
protected:
    void SetUp() override {
        CliProcessTest::SetUp();
        test::WriteArchive(dir_ / "archive");
    }
    test::CliRun Export(const std::string& args) { return Cli("export " + args, "LC_ALL=C "); }

    // Every table file under out/, relative, with its inode: a file written again gets a new one.
    std::map<std::string, ino_t> Tables() {
        std::map<std::string, ino_t> files;
        for (const auto& e : fs::recursive_directory_iterator(dir_ / "out"))
            if (e.path().string().ends_with(".csv.gz")) {
                struct stat st {};
                ::stat(e.path().c_str(), &st);
                files[fs::relative(e.path(), dir_ / "out").string()] = st.st_ino;
            }
        return files;
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
};

TEST_F(CliExportTest, LaysEachReadOutOutByBlockAndSerial) {
    const auto run = Export("archive archive/K-1.partial --output out");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::set<std::string> partitions, readOuts;
    for (const auto& [name, inode] : Tables()) {
        const fs::path p(name);
        if (p.begin()->string() == "read_outs")
            readOuts.insert(p.filename().string());
        else
            partitions.insert(p.parent_path().string());
    }
    EXPECT_EQ(partitions,
              (std::set<std::string>{"g_info/serial=K-1", "g_info/serial=U100", "g_info/serial=U200",
                                     "g_info/serial=unknown", "x_info/serial=K-1", "x_info/serial=U100",
                                     "x_info/serial=U200", "x_info/serial=unknown"}));
    EXPECT_EQ(readOuts.size(), 5u) << "the two U100_01.inf stay two";
}

TEST_F(CliExportTest, RowsAreTheEntriesThatAreInWithTheirValues) {
    ASSERT_EQ(Export("archive/K-1.partial archive/cut.inf --output out").exitCode, 0);
    std::vector<std::string> g, x, cut;
    for (const auto& [name, inode] : Tables()) {
        if (name.starts_with("g_info/serial=K-1/"))
            g = Lines(test::Gunzip(dir_ / "out" / name));
        if (name.starts_with("x_info/serial=K-1/"))
            x = Lines(test::Gunzip(dir_ / "out" / name));
        if (name.starts_with("x_info/serial=unknown/"))
            cut = Lines(test::Gunzip(dir_ / "out" / name));
    }
    ASSERT_EQ(g.size(), 1u + 20u) << "a header and every third of 60 entries";
    EXPECT_TRUE(
        g[0].starts_with("read_out,entry,time,code,kind,message,type,act_status,pump,compressor_state,"));
    EXPECT_TRUE(g[2].starts_with("archive/K-1.partial,4,")) << g[2];
    EXPECT_TRUE(g[2].ends_with(",false")) << g[2];
    ASSERT_EQ(x.size(), 1u + 5u);
    ASSERT_EQ(cut.size(), 1u + 25u) << "a cut file's entries as show shows them";
    EXPECT_TRUE(cut[25].ends_with(",true")) << cut[25];
}

TEST_F(CliExportTest, ASecondRunRedoesOnlyWhatChangedAndPruneRemovesWhatIsGone) {
    ASSERT_EQ(Export("archive --output out").exitCode, 0);
    const auto first = Tables();
    ASSERT_EQ(Export("archive --output out").exitCode, 0);
    EXPECT_EQ(Tables(), first) << "nothing new, nothing written";

    test::WriteGenerated(dir_ / "archive" / "sub" / "U200_02.inf", 2, 77); // changed
    fs::remove(dir_ / "archive" / "U100_01.inf");                          // gone
    ASSERT_EQ(Export("archive --output out").exitCode, 0);
    auto second = Tables();
    EXPECT_EQ(second.size(), first.size()) << "without --prune the gone read-out's tables stay";
    std::size_t rewritten = 0;
    for (const auto& [name, inode] : second)
        rewritten += name.find("U200_02") != std::string::npos && first.at(name) != inode;
    EXPECT_EQ(rewritten, 3u) << "the changed read-out's three tables, no other";

    ASSERT_EQ(Export("archive --output out --prune").exitCode, 0);
    const auto pruned = Tables();
    std::vector<std::string> removed;
    for (const auto& [name, inode] : second)
        if (!pruned.contains(name))
            removed.push_back(name);
    ASSERT_EQ(removed.size(), 3u);
    for (const std::string& name : removed)
        EXPECT_NE(name.find("U100_01"), std::string::npos) << name;
}

TEST_F(CliExportTest, TheRunAfterAKilledOneFinishesItsWork) {
    ASSERT_EQ(Export("archive --output out").exitCode, 0);
    const auto whole = Tables();
    // Killed before it saved its manifest, in the middle of a table.
    fs::remove(dir_ / "out" / "manifest.tsv");
    fs::remove(dir_ / "out" / whole.begin()->first);
    const fs::path torn = dir_ / "out" / "g_info" / "serial=U100" / ".U100_01-0.csv.gz.4242.tmp";
    std::ofstream(torn) << "half";
    ASSERT_EQ(Export("archive --output out").exitCode, 0);
    std::set<std::string> names, before;
    for (const auto& [name, inode] : Tables())
        names.insert(name);
    for (const auto& [name, inode] : whole)
        before.insert(name);
    EXPECT_EQ(names, before);
    EXPECT_FALSE(fs::exists(torn));
}

TEST_F(CliExportTest, ASecondExportIntoTheSameFolderRefuses) {
    fs::create_directories(dir_ / "out");
    const int fd = ::open((dir_ / "out" / ".lock").c_str(), O_RDWR | O_CREAT, 0666);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    ASSERT_EQ(::write(fd, "4242\n", 5), 5);
    const auto run = Export("archive --output out");
    ::close(fd);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.err,
        "lexorant-cli export: another export is writing into out (process 4242); nothing was changed\n");
    EXPECT_FALSE(fs::exists(dir_ / "out" / "g_info"));
    EXPECT_EQ(Export("archive --output out").exitCode, 0) << "the lock of an export that ended is taken over";
}

TEST_F(CliExportTest, UnreadableInputsAreSkippedAndAnUnwritableFolderFails) {
    ::mkfifo((dir_ / "archive" / "pipe.inf").c_str(), 0644);
    const auto run = Export("archive missing.inf --output out");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, "lexorant-cli export: Unable to open file archive/pipe.inf (skipped)\n"
                       "lexorant-cli export: Unable to open file missing.inf (skipped)\n");
    std::ofstream(dir_ / "file") << "x";
    const auto blocked = Export("archive/cut.inf --output file/out");
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find("file/out"), std::string::npos) << blocked.err;
}

} // namespace
#endif
