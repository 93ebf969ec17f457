#include "file/autosave_file.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"
#include "file/file_naming.h"
#include "link/identification.h"
#include "file/info_file.h"
#include "readout/record_store.h"
#include "link/serial_port.h"
#include "tools/cli/terminal_steps.h"
#include "link/wire_trace.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace lexorant::cli {

namespace {

enum Exit { kAllRead = 0, kUnusable = 1, kNotIdentified = 2, kEntriesFailed = 3 };

struct ReadOptions {
    std::string port;
    int baud = 9600;
    std::string output;
    std::string trace;
    bool autosave = false;
};

std::optional<ReadOptions> ParseReadOptions(const Arguments& args) {
    ReadOptions options;
    OptionParser parser("read");
    parser.Value("--baud", [&](const std::string& value) {
        options.baud = 0;
        for (int rate : {1200, 2400, 4800, 9600, 19200})
            if (value == std::to_string(rate))
                options.baud = rate;
        return options.baud != 0 || parser.Fail("unsupported bit rate '" + value + "'");
    });
    parser.Value("--output", options.output);
    parser.Value("--trace", options.trace);
    parser.Flag("--autosave", options.autosave);
    parser.Argument(options.port);
    if (!parser.Parse(args))
        return std::nullopt;
    if (options.port.empty()) {
        parser.Fail("PORT is missing (COM1..COM15 or a device path)");
        return std::nullopt;
    }
    if (options.autosave && !options.output.empty()) {
        parser.Fail("--output and --autosave exclude each other");
        return std::nullopt;
    }
    return options;
}

} // namespace

int Read(const Arguments& args) {
    const auto options = ParseReadOptions(args);
    if (!options)
        return kUnusable;

    SerialPort port;
    if (!options->trace.empty()) {
        std::string error;
        std::shared_ptr<WireTrace> trace = WireTrace::Open(options->trace, error);
        if (!trace) {
            std::fprintf(stderr, "lexorant-cli read: cannot write the trace '%s': %s\n", options->trace.c_str(),
                         error.c_str());
            return kUnusable;
        }
        port.SetTrace(std::move(trace));
    }
    if (!port.OpenPort(options->port, options->baud)) {
        std::fprintf(stderr, "Unable to open %s\n", options->port.c_str());
        return kUnusable;
    }

    Identification identification(port);
    const auto notIdentified = [&identification] {
        std::fprintf(stderr, "%s\n", identification.FailureText().c_str());
        if (!identification.FailureReason().empty())
            std::fprintf(stderr, "%s\n", identification.FailureReason().c_str());
        return kNotIdentified;
    };
    const auto serial = identification.SerialNumber();
    if (!serial)
        return notIdentified();
    // The autosave number is chosen now, as in the window, and claimed when the file is written.
    const FileWriter writeFile =
        options->autosave        ? AutosaveInfoFileWriter(*serial, FirstFreeAutosaveNumber(*serial))
        : options->output.empty() ? InfoFileWriter(ProposedFileName(*serial))
                                  : InfoFileWriter(options->output);
    const auto headers = identification.Headers();
    if (!headers)
        return notIdentified();

    RecordStore store;
    store.Replace(headers->g, headers->x);
    TerminalSteps steps(stderr, isatty(STDERR_FILENO) != 0, headers->g.EntryCount + headers->x.EntryCount);
    ReadJob job{port, store, steps, writeFile};
    const ReadTally tally = RunRead(job);
    port.ClosePort();

    if (!tally.fileError.empty())
        return kUnusable;
    std::printf("%s\n", tally.fileName.c_str());
    return tally.g.failed + tally.x.failed > 0 ? kEntriesFailed : kAllRead;
}

} // namespace lexorant::cli
