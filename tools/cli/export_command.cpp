// lexorant-cli export: read-outs laid out as a dataset that analytics engines query.
#include "dataset/dataset_export.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"
#include "tools/cli/read_out_summary.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

namespace lexorant::cli {

namespace {

struct ExportOptions {
    std::vector<std::string> paths;
    std::string output;
    unsigned jobs = 0;
    bool prune = false;
};

std::optional<ExportOptions> ParseExportOptions(const Arguments& args) {
    ExportOptions options;
    OptionParser parser("export");
    parser.Value("--output", options.output);
    parser.Value("--jobs", [&](const std::string& v) {
        unsigned n = 0;
        for (const char c : v) {
            if (c < '0' || c > '9' || n > 1000)
                return parser.Fail("--jobs takes a number from 1 to 1024, not '" + v + "'");
            n = n * 10 + static_cast<unsigned>(c - '0');
        }
        if (n < 1 || n > 1024)
            return parser.Fail("--jobs takes a number from 1 to 1024, not '" + v + "'");
        options.jobs = n;
        return true;
    });
    parser.Flag("--prune", options.prune);
    parser.Arguments(options.paths);
    if (!parser.Parse(args))
        return std::nullopt;
    if (options.paths.empty()) {
        parser.Fail("PATH... is needed (\".inf\" files, kept read-outs or folders)");
        return std::nullopt;
    }
    if (options.output.empty()) {
        parser.Fail("--output DIR is needed");
        return std::nullopt;
    }
    return options;
}

// "12 of 300 files, 85.2 MB/s, 0:41 left", redrawn in place at most a few times a second.
class ProgressLine {
public:
    void Show(const ExportProgress& p) {
        const auto now = std::chrono::steady_clock::now();
        if (p.done < p.total && now - shown_ < std::chrono::milliseconds(200))
            return;
        shown_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const double rate = seconds > 0 ? static_cast<double>(p.bytesDone) / seconds : 0;
        std::string left = "--:--";
        if (rate > 0) {
            const auto s =
                static_cast<long long>(static_cast<double>(p.bytesTotal - p.bytesDone) / rate + 0.5);
            char text[32];
            std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
            left = text;
        }
        std::fprintf(stderr, "\r%zu of %zu files, %.1f MB/s, %s left\x1b[K", p.done, p.total, rate / 1e6,
                     left.c_str());
        open_ = true;
    }
    void End() {
        if (open_)
            std::fputc('\n', stderr);
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point shown_{};
    bool open_ = false;
};

} // namespace

int Export(const Arguments& args) {
    const auto options = ParseExportOptions(args);
    if (!options)
        return 1;
    DatasetExportOptions run;
    run.output = options->output;
    run.jobs = options->jobs != 0 ? options->jobs : std::max(1u, std::thread::hardware_concurrency());
    run.prune = options->prune;
    ProgressLine line;
    std::function<void(const ExportProgress&)> progress;
    if (::isatty(STDERR_FILENO))
        progress = [&](const ExportProgress& p) { line.Show(p); };
    const DatasetExportResult result = ExportDataset(ReadOutFiles(options->paths), run, progress);
    line.End();
    for (const std::string& file : result.unreadable)
        std::fprintf(stderr, "lexorant-cli export: Unable to open file %s (skipped)\n", file.c_str());
    if (!result.failure.empty()) {
        std::fprintf(stderr, "lexorant-cli export: %s\n", result.failure.c_str());
        return 1;
    }
    return result.unreadable.empty() ? 0 : 3;
}

} // namespace lexorant::cli
