// An export queried by a real analytics engine (DuckDB, installed from the npm registry into a cache by
// scripts/ensure-duckdb): its answers equal what lexorant-cli summary and show say of the same read-outs.
#ifdef LEXORANT_WITH_EXPORT
#include "tests/support/cli_process.h"
#include "tests/support/generated_archive.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// The shortest text that reads back as the same double, as the engine's numbers are printed.
std::string Canonical(const std::string& number) {
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, std::stod(number)).ptr};
}

class CliExportEngineTest : public test::CliProcessTest {
protected:
    void SetUp() override {
        CliProcessTest::SetUp();
        if (std::system("command -v node >/dev/null") != 0)
            GTEST_SKIP() << "Node.js is not installed";
        const std::string ensure = std::string(LEXORANT_SOURCE_DIR) + "/scripts/ensure-duckdb";
        FILE* pipe = ::popen(ensure.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char line[4096] = {};
        const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
        ASSERT_EQ(::pclose(pipe), 0) << "scripts/ensure-duckdb failed";
        ASSERT_TRUE(got);
        nodePath_ = line;
        nodePath_.erase(nodePath_.find_last_not_of('\n') + 1);
        test::WriteArchive(dir_ / "archive");
    }

    std::string Query(const std::string& out) {
        const std::string script = std::string(LEXORANT_SOURCE_DIR) + "/tests/tools/export_queries.js";
        const test::CliRun run =
            Shell("NODE_PATH='" + nodePath_ + "' node '" + script + "' '" + (dir_ / out).string() + "'");
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    // What summary and show say of the read-outs, as the queries' lines.
    std::string Expected(const std::vector<std::string>& files,
                         const std::map<std::string, std::string>& serials) {
        std::set<std::string> lines;
        const auto summary = Cli("summary " + Join(files), "LC_ALL=C ");
        for (const std::string& row : Split(summary.out, '\n')) {
            const auto f = Split(row, '\t');
            if (f[0] == "Code")
                continue;
            if (f[2] != "0")
                lines.insert("g_code\t" + f[0] + "\t" + f[2]);
            if (f[3] != "0")
                lines.insert("x_code\t" + f[0] + "\t" + f[3]);
        }
        for (const std::string& file : files) {
            std::size_t in[2] = {0, 0};
            for (const char block : {'G', 'X'}) {
                const auto show = Cli("show " + file + " --block " + block, "LC_ALL=C ");
                const auto rows = Split(show.out, '\n');
                const auto heading = Split(rows.at(0), '\t');
                const std::size_t ti = std::find(heading.begin(), heading.end(), "TI") - heading.begin();
                for (std::size_t r = 1; r < rows.size(); ++r) {
                    const auto cells = Split(rows[r], '\t');
                    if (cells.empty() || cells[0].empty())
                        continue; // an entry never read
                    ++in[block == 'X'];
                    if (block == 'X')
                        lines.insert("ti\t" + file + "\t" + cells[0] + "\t" + Canonical(cells.at(ti)));
                }
                if (in[block == 'X'] > 0)
                    lines.insert(std::string(block == 'G' ? "g_rows\t" : "x_rows\t") + file + "\t" +
                                 serials.at(file) + "\t" + std::to_string(in[block == 'X']));
            }
            lines.insert("read_out\t" + file + "\t" + std::to_string(in[0]) + "\t" + std::to_string(in[1]) +
                         "\t" + (file.ends_with(".partial") ? "true" : "false") + "\t" +
                         (file.ends_with("cut.inf") ? "true" : "false"));
        }
        std::string text;
        for (const std::string& l : lines)
            text += l + "\n";
        return text;
    }

    test::CliRun Shell(const std::string& command) {
        const std::string line = "cd '" + dir_.string() + "' && " + command + " >out.txt 2>err.txt";
        const int status = std::system(line.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::Slurp(dir_ / "out.txt"),
                test::Slurp(dir_ / "err.txt")};
    }

    static std::string Join(const std::vector<std::string>& files) {
        std::string joined;
        for (const std::string& f : files)
            joined += f + " ";
        return joined;
    }

    std::string nodePath_;
};

TEST_F(CliExportEngineTest, TheEngineAnswersAsSummaryAndShowDo) {
    const std::vector<std::string> files = {"archive/K-1.partial", "archive/U100_01.inf", "archive/cut.inf",
                                            "archive/sub/U200_02.inf", "archive/sub/deeper/U100_01.inf"};
    ASSERT_EQ(Cli("export archive archive/K-1.partial --output out").exitCode, 0);
    const std::map<std::string, std::string> serials = {
        {files[0], "K-1"}, {files[1], "U100"}, {files[2], "unknown"}, {files[3], "U200"}, {files[4], "U100"}};
    EXPECT_EQ(Query("out"), Expected(files, serials));
}

TEST_F(CliExportEngineTest, ASecondRunAnswersAsAFreshExport) {
    ASSERT_EQ(Cli("export archive --output out").exitCode, 0);
    test::WriteGenerated(dir_ / "archive" / "sub" / "U200_02.inf", 1, 77);
    test::WriteGenerated(dir_ / "archive" / "new" / "U300_03.inf", 2, 5);
    fs::remove(dir_ / "archive" / "cut.inf");
    ASSERT_EQ(Cli("export archive --output out --prune").exitCode, 0);
    ASSERT_EQ(Cli("export archive --output fresh").exitCode, 0);
    const std::vector<std::string> files = {"archive/U100_01.inf", "archive/new/U300_03.inf",
                                            "archive/sub/U200_02.inf", "archive/sub/deeper/U100_01.inf"};
    const std::map<std::string, std::string> serials = {
        {files[0], "U100"}, {files[1], "U300"}, {files[2], "U200"}, {files[3], "U100"}};
    const std::string fresh = Query("fresh");
    EXPECT_EQ(fresh, Expected(files, serials));
    EXPECT_EQ(Query("out"), fresh);
}

} // namespace
#endif
