// Writes the service report of a read-out as PDF, without a display.
#include "compare/read_out_comparison.h"
#include "readout/record_store.h"
#include "report/service_report.h"
#include "report/since_section.h"
#include "tools/cli/commands.h"
#include "tools/cli/headless_qt.h"
#include "tools/cli/option_parser.h"

#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <optional>
#include <string>

namespace lexorant::cli {

namespace {

struct ReportOptions {
    std::string file;
    std::string output;
    std::string since; // an older read-out of the unit, or empty
    std::optional<ReadOutData> readOut;
};

std::optional<ReportOptions> ParseReportOptions(const Arguments& args) {
    ReportOptions options;
    OptionParser parser("report");
    parser.Value("--output", options.output);
    parser.Value("--since", options.since);
    parser.Argument(options.file);
    parser.Required([&options] { return !options.file.empty() && !options.output.empty(); },
                    "FILE and --output NAME.pdf are needed");
    parser.LoadsReadOut(options.file, options.readOut);
    if (!parser.Parse(args))
        return std::nullopt;
    return options;
}

// Qt's PDF writer grows and frees a buffer of some hundred kilobytes for every page; by default the C
// library hands each back to the kernel and maps it anew for the next page, which for a report of
// thousands of pages costs a fifth of its time.
void KeepPageBuffers() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

} // namespace

int Report(const Arguments& args) {
    const auto options = ParseReportOptions(args);
    if (!options)
        return 1;
    std::optional<ReportSince> since;
    if (!options->since.empty()) {
        const auto older = LoadReadOut(options->since);
        if (!older)
            return 1;
        since = BuildSinceSection(Compare(*older, *options->readOut), *older, options->readOut->store);
    }
    HeadlessApplication app;
    KeepPageBuffers();
    const std::string error = WriteServiceReport(*options->readOut, options->output, since ? &*since : nullptr);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::puts(options->output.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace lexorant::cli
