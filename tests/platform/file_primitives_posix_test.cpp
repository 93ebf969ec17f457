// The file primitives: a name claimed by many writers at once, opening only regular files, and the
// temporaries that killed writers leave.
#include "platform/append_file.h"
#include "platform/regular_file.h"
#include "platform/temporary_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

class Folder {
public:
    Folder() {
        char dir[] = "/tmp/lexorant-platform-XXXXXX";
        if (!::mkdtemp(dir))
            throw std::runtime_error("mkdtemp failed");
        path_ = dir;
    }
    ~Folder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The first of name_1, name_2, ... that the file claims; 0 when a claim fails.
int ClaimFirstFree(TemporaryFile& file, const fs::path& folder) {
    for (int k = 1; k < 1000; ++k) {
        const Claim claim = file.ClaimAs(folder / ("unit_" + std::to_string(k) + ".inf"));
        if (claim == Claim::Claimed)
            return k;
        if (claim == Claim::Failed)
            return 0;
    }
    return 0;
}

} // namespace

TEST(TemporaryFile, ClaimNeverReplacesAnythingUnderTheName) {
    Folder folder;
    const fs::path& f = folder.path();
    std::ofstream(f / "file") << "earlier";
    fs::create_directory(f / "folder");
    fs::create_symlink(f / "nowhere", f / "dangling");
    for (const char* name : {"file", "folder", "dangling"}) {
        TemporaryFile file(f, Bytes("new"));
        ASSERT_TRUE(file.Ready());
        EXPECT_EQ(file.ClaimAs(f / name), Claim::Taken) << name;
    }
    EXPECT_EQ(Slurp(f / "file"), "earlier");
    EXPECT_TRUE(fs::is_symlink(f / "dangling"));
    EXPECT_FALSE(fs::exists(f / "nowhere"));
    EXPECT_EQ(std::distance(fs::directory_iterator(f), {}), 3) << "no temporary is left";

    TemporaryFile file(f, Bytes("new"));
    EXPECT_EQ(file.ClaimAs(f / "free"), Claim::Claimed);
    EXPECT_EQ(Slurp(f / "free"), "new");
    EXPECT_EQ(file.ClaimAs(f / "again"), Claim::Failed) << "a file has one name";
    EXPECT_EQ(TemporaryFile(f / "missing", Bytes("x")).ClaimAs(f / "x"), Claim::Failed);
}

// Processes started together, held at a pipe until every one has its file ready, then all claim.
TEST(TemporaryFile, WritersRacingForOneNameEachGetOneOfTheirOwn) {
    constexpr int kWriters = 24;
    Folder folder;
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> writers;
    for (int i = 0; i < kWriters; ++i) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(gate[1]);
            const std::string content = "writer " + std::to_string(i);
            TemporaryFile file(folder.path(), Bytes(content));
            char none;
            while (::read(gate[0], &none, 1) < 0 && errno == EINTR) {
            } // returns at end of file: the test has let go
            ::_exit(file.Ready() ? ClaimFirstFree(file, folder.path()) : 0);
        }
        writers.push_back(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    std::set<int> numbers;
    for (int i = 0; i < kWriters; ++i) {
        int status = 0;
        ASSERT_EQ(::waitpid(writers[static_cast<std::size_t>(i)], &status, 0), writers[static_cast<std::size_t>(i)]);
        ASSERT_TRUE(WIFEXITED(status));
        const int k = WEXITSTATUS(status);
        EXPECT_GE(k, 1);
        numbers.insert(k);
        EXPECT_EQ(Slurp(folder.path() / ("unit_" + std::to_string(k) + ".inf")), "writer " + std::to_string(i));
    }
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kWriters));
    EXPECT_EQ(*numbers.rbegin(), kWriters) << "no number is skipped";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), kWriters) << "no temporary is left";
}

TEST(RegularFileReader, RefusesEveryOtherKindAtOnce) {
    Folder folder;
    const fs::path& f = folder.path();
    std::ofstream(f / "regular") << "x";
    ASSERT_EQ(::mkfifo((f / "pipe").c_str(), 0600), 0);
    fs::create_symlink(f / "pipe", f / "link-to-pipe");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (f / "socket").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const std::pair<fs::path, bool> cases[] = {
        {f / "regular", true},       {f / "missing", false}, {f / "pipe", false}, // no writer: would wait
        {f / "link-to-pipe", false}, {f, false},             {"/dev/zero", false}, // endless
        {"/dev/null", false},        {f / "socket", false},
    };
    for (const auto& [path, opens] : cases) {
        RegularFileReader file(path);
        EXPECT_EQ(file.IsOpen(), opens) << path;
        if (file.IsOpen()) {
            std::uint8_t c = 0;
            std::size_t got = 0;
            EXPECT_TRUE(file.ReadUpTo(&c, 1, got));
            EXPECT_EQ(got, 1u) << "blocking reads again";
        }
    }
    ::close(sock);
}

// A file kept by appending is this very name's regular file: a link there is not followed (its target
// would be cut), and a named pipe does not keep the open waiting for a reader.
TEST(AppendFile, OpensNothingButARegularFileUnderItsOwnName) {
    Folder folder;
    const fs::path& f = folder.path();
    std::ofstream(f / "target") << "someone's data";
    fs::create_symlink(f / "target", f / "link");
    fs::create_symlink(f / "missing", f / "dangling");
    ASSERT_EQ(::mkfifo((f / "pipe").c_str(), 0600), 0);
    for (const char* name : {"link", "dangling", "pipe"}) {
        AppendFile file;
        std::string error;
        EXPECT_FALSE(file.Create(f / name, error)) << name;
        EXPECT_FALSE(error.empty()) << name;
        EXPECT_FALSE(file.OpenKeeping(f / name, 0, error)) << name;
    }
    EXPECT_EQ(Slurp(f / "target"), "someone's data");
    EXPECT_FALSE(fs::exists(f / "missing"));
    EXPECT_TRUE(fs::is_fifo(f / "pipe"));
}

// A writer killed while writing leaves its temporary: the next write into the folder removes those of
// this host's processes that are gone, and nothing of a living one or of another host.
TEST(TemporaryFile, RemovesTheTemporariesOfWritersThatAreGone) {
    Folder folder;
    const fs::path& f = folder.path();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string gone = TemporaryNamePrefix(child) + "0-1.tmp";
    const std::string alive = TemporaryNamePrefix(::getpid()) + "7-1.tmp";
    const std::string otherHost = ".lexorant-elsewhere-" + std::to_string(child) + "-0-1.tmp";
    const std::string oldFresh = ".lexorant-" + std::to_string(child) + "-0-1.tmp";
    const std::string oldStale = ".lexorant-" + std::to_string(child) + "-1-1.tmp";
    const std::string notOurs = ".lexorant-notes.tmp";
    for (const std::string& name : {gone, alive, otherHost, oldFresh, oldStale, notOurs})
        std::ofstream(f / name) << "x";
    fs::last_write_time(f / oldStale, fs::file_time_type::clock::now() - std::chrono::hours(25));

    const std::string bytes = "new";
    TemporaryFile file(f, Bytes(bytes));
    ASSERT_TRUE(file.Ready());
    ASSERT_TRUE(file.ReplaceAs(f / "new.inf"));
    for (const std::string& name : {gone, oldStale})
        EXPECT_FALSE(fs::exists(f / name)) << name;
    for (const std::string& name : {alive, otherHost, oldFresh, notOurs})
        EXPECT_TRUE(fs::exists(f / name)) << name;
}
