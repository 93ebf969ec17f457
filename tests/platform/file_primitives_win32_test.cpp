// The file primitives on Win32: claims that never replace, replaces that do, and reading only
// regular files without waiting for a pipe's writer.
#include "platform/regular_file.h"
#include "platform/temporary_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

class Folder {
public:
    Folder() : path_(fs::temp_directory_path() / ("lexorant-platform-" + std::to_string(::GetCurrentProcessId()))) {
        fs::remove_all(path_);
        fs::create_directory(path_);
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

} // namespace

TEST(TemporaryFileWin32, ClaimNeverReplacesAndReplaceDoes) {
    Folder folder;
    const fs::path& f = folder.path();
    std::ofstream(f / "file") << "earlier";
    fs::create_directory(f / "folder");
    for (const char* name : {"file", "folder"}) {
        TemporaryFile file(f, Bytes("new"));
        ASSERT_TRUE(file.Ready());
        EXPECT_EQ(file.ClaimAs(f / name), Claim::Taken) << name;
    }
    EXPECT_EQ(Slurp(f / "file"), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(f), {}), 2) << "no temporary is left";

    TemporaryFile file(f, Bytes("new"));
    EXPECT_TRUE(file.ReplaceAs(f / "file"));
    EXPECT_EQ(Slurp(f / "file"), "new");
    EXPECT_EQ(file.ClaimAs(f / "again"), Claim::Failed) << "a file has one name";
    EXPECT_EQ(TemporaryFile(f / "missing", Bytes("x")).ClaimAs(f / "x"), Claim::Failed);
}

TEST(TemporaryFileWin32, WritersRacingForOneNameEachGetOneOfTheirOwn) {
    constexpr int kWriters = 16;
    Folder folder;
    std::vector<int> claimed(kWriters, 0);
    std::vector<std::thread> writers;
    for (int i = 0; i < kWriters; ++i) {
        writers.emplace_back([&, i] {
            const std::string content = "writer " + std::to_string(i);
            TemporaryFile file(folder.path(), Bytes(content));
            for (int k = 1; k < 100 && file.Ready(); ++k) {
                const Claim claim = file.ClaimAs(folder.path() / ("unit_" + std::to_string(k) + ".inf"));
                if (claim != Claim::Taken) {
                    claimed[static_cast<std::size_t>(i)] = claim == Claim::Claimed ? k : 0;
                    break;
                }
            }
        });
    }
    for (auto& w : writers)
        w.join();
    const std::set<int> numbers(claimed.begin(), claimed.end());
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kWriters));
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), kWriters) << "no number is skipped";
    for (int i = 0; i < kWriters; ++i)
        EXPECT_EQ(Slurp(folder.path() / ("unit_" + std::to_string(claimed[static_cast<std::size_t>(i)]) + ".inf")),
                  "writer " + std::to_string(i));
}

TEST(RegularFileReaderWin32, RefusesEveryOtherKindAtOnce) {
    Folder folder;
    std::ofstream(folder.path() / "regular") << "x";
    // A pipe with a listening server: opening it would connect, and reading would wait for a writer.
    const wchar_t* pipeName = L"\\\\.\\pipe\\lexorant-regular-file-test";
    const HANDLE pipe = ::CreateNamedPipeW(pipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 2, 64, 64, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    const std::pair<fs::path, bool> cases[] = {
        {folder.path() / "regular", true}, {folder.path() / "missing", false}, {folder.path(), false},
        {fs::path(L"NUL"), false},         {fs::path(pipeName), false},
    };
    for (const auto& [path, opens] : cases) {
        RegularFileReader file(path);
        EXPECT_EQ(file.IsOpen(), opens) << path.string();
        if (file.IsOpen()) {
            std::uint8_t c = 0;
            std::size_t got = 0;
            EXPECT_TRUE(file.ReadUpTo(&c, 1, got));
            EXPECT_EQ(got, 1u);
        }
    }
    ::CloseHandle(pipe);
}
