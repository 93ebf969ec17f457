#include "tests/file/file_test_folder.h"
#include "file/info_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lexorant;
using lexorant::testing::DriveO;
using lexorant::testing::ReadBytes;
using lexorant::testing::TempFolder;
using lexorant::testing::WriteBytes;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

RecordStore SmallStore() {
    RecordStore store;
    store.Replace({36, 1, 2}, {196, 2, 1});
    store.GInfoSlots[0] = 0x5A;
    return store;
}

// 12 + 200 × 16 bytes: larger than the file-size limit that BoundedFileSize sets.
RecordStore LargeStore() {
    RecordStore store;
    store.Replace({36, 1, 200}, {196, 2, 0});
    return store;
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A process file-size limit makes every write past it fail half-way, like a disk that fills up.
class BoundedFileSize {
public:
    explicit BoundedFileSize(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~BoundedFileSize() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_{};
    void (*oldSignal_)(int);
};

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }

private:
    mode_t old_;
};

fs::perms Perms(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::mask;
}

} // namespace

TEST(InfoFileWriter, FailuresAreReportedWithTheNameAsGiven) {
    TempFolder folder;
    WriteBytes(folder / "plain", {1});
    fs::create_directory(folder / "taken-by-folder.inf");
    fs::create_symlink("/dev/full", folder / "full.inf");
    ASSERT_EQ(::mkfifo((folder / "pipe.inf").c_str(), 0600), 0);
    DriveO noDrive(std::nullopt);
    const std::string names[] = {
        (folder / "no-such-folder" / "unit.inf").string(),
        (folder / "plain" / "unit.inf").string(), // a path under a file
        (folder / "taken-by-folder.inf").string(),
        (folder / "full.inf").string(),       // writes fail with "no space left"
        (folder / "pipe.inf").string(),       // no reader: fails at once, never waits for one
        "O:\\geraete\\Lexorant\\unit_01.inf", // the drive cannot be reached
    };
    for (const auto& name : names)
        EXPECT_EQ(WriteInfoFile(SmallStore(), name), "Unable to write file " + name);
    EXPECT_TRUE(fs::is_symlink(folder / "full.inf"));
    EXPECT_EQ(FolderEntries(folder.path()),
              (std::vector<std::string>{"full.inf", "pipe.inf", "plain", "taken-by-folder.inf"}));
}

TEST(InfoFileWriter, ReadOnlyFolderIsReported) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    TempFolder folder;
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const auto name = (folder / "unit.inf").string();
    EXPECT_EQ(WriteInfoFile(SmallStore(), name), "Unable to write file " + name);
}

TEST(InfoFileWriter, WriteProtectedFileIsReportedAndKept) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    TempFolder folder;
    WriteBytes(folder / "unit.inf", {7, 7, 7});
    fs::permissions(folder / "unit.inf", fs::perms::owner_read);
    const auto name = (folder / "unit.inf").string();
    EXPECT_EQ(WriteInfoFile(SmallStore(), name), "Unable to write file " + name);
    EXPECT_EQ(ReadBytes(name), Bytes({7, 7, 7}));
}

TEST(InfoFileWriter, FailureHalfWayKeepsTheEarlierFile) {
    TempFolder folder;
    const auto name = (folder / "unit.inf").string();
    const Bytes earlier = {1, 2, 3, 4, 5};
    WriteBytes(name, earlier);
    {
        BoundedFileSize limit(1000);
        EXPECT_EQ(WriteInfoFile(LargeStore(), name), "Unable to write file " + name);
    }
    EXPECT_EQ(ReadBytes(name), earlier);
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"unit.inf"}); // no temporary left
}

TEST(InfoFileWriter, FailureHalfWayOnANewFileLeavesNothing) {
    TempFolder folder;
    const auto name = (folder / "unit.inf").string();
    {
        BoundedFileSize limit(1000);
        EXPECT_EQ(WriteInfoFile(LargeStore(), name), "Unable to write file " + name);
    }
    EXPECT_TRUE(FolderEntries(folder.path()).empty());
}

TEST(InfoFileWriter, NewFilesGetOrdinaryPermissionsAndReplacedOnesKeepTheirs) {
    TempFolder folder;
    ScopedUmask mask(027);
    ASSERT_EQ(WriteInfoFile(SmallStore(), (folder / "new.inf").string()), "");
    EXPECT_EQ(Perms(folder / "new.inf"),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    WriteBytes(folder / "old.inf", {1});
    fs::permissions(folder / "old.inf",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    ASSERT_EQ(WriteInfoFile(SmallStore(), (folder / "old.inf").string()), "");
    EXPECT_EQ(Perms(folder / "old.inf"),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
}

TEST(InfoFileWriter, ThroughASymlinkTheLinkStays) {
    TempFolder folder;
    fs::create_directory(folder / "real");
    WriteBytes(folder / "real" / "unit.inf", {1});
    fs::create_symlink(folder / "real" / "unit.inf", folder / "link.inf");
    ASSERT_EQ(WriteInfoFile(SmallStore(), (folder / "link.inf").string()), "");
    EXPECT_TRUE(fs::is_symlink(folder / "link.inf"));
    EXPECT_EQ(ReadBytes(folder / "real" / "unit.inf").size(), 140u);
}
