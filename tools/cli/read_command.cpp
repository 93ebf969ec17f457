#include "file/autosave_file.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"
#include "file/file_naming.h"
#include "file/kept_read_out.h"
#include "link/identification.h"
#include "link/port_commands.h"
#include "link/read_start.h"
#include "file/info_file.h"
#include "readout/record_store.h"
#include "link/serial_port.h"
#include "tools/cli/terminal_steps.h"
#include "link/wire_trace.h"
#include "platform/sleep_inhibitor.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace lexorant::cli {

namespace {

enum Exit { kAllRead = 0, kUnusable = 1, kNotIdentified = 2, kEntriesFailed = 3, kLineLost = 4 };

struct ReadOptions {
    std::string port;
    int baud = 9600;
    bool anyBaud = false; // --baud auto
    std::string output;
    std::string trace;
    bool autosave = false;
    bool fresh = false; // start anew even where a kept read-out could be continued
};

std::optional<ReadOptions> ParseReadOptions(const Arguments& args) {
    ReadOptions options;
    OptionParser parser("read");
    parser.Value("--baud", [&](const std::string& value) {
        options.anyBaud = value == "auto";
        options.baud = options.anyBaud ? 9600 : 0;
        for (const int rate : kBitRates)
            if (value == std::to_string(rate))
                options.baud = rate;
        return options.baud != 0 || parser.Fail("unsupported bit rate '" + value + "'");
    });
    parser.Value("--output", options.output);
    parser.Value("--trace", options.trace);
    parser.Flag("--autosave", options.autosave);
    parser.Flag("--fresh", options.fresh);
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

const char* const kContinueHint = "Run the same command again to continue the read where it stopped.";

// Says on stderr what the read starts from.
ReadStart StartFrom(SerialPort& port, const std::string& serial, const InfoHeaders& headers, bool fresh) {
    ReadStart start = ChooseReadStart(port, serial, headers, [fresh](const KeptReadOut&) { return !fresh; });
    if (start.from == KeptStart::Grown && !fresh)
        std::fprintf(stderr, "The unit's logs have grown since its read-out was kept: reading it anew\n");
    else if (start.from == KeptStart::Continued)
        std::fprintf(stderr, "Continuing the kept read-out of %s: %zu of %zu entries are in (%s)\n", serial.c_str(),
                     start.kept->in.Count(), start.kept->in.Size(), start.kept->path.string().c_str());
    else if (start.from == KeptStart::Changed)
        std::fprintf(stderr, "The log of %s has changed since its read-out was kept: reading it anew\n",
                     serial.c_str());
    if (start.from != KeptStart::Unchecked && !start.keeper)
        std::fprintf(stderr, "lexorant-cli read: cannot keep the entries read (%s): a lost line loses them\n",
                     start.keepError.c_str());
    return start;
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
    const auto serial = options->anyBaud ? identification.SerialNumberAtAnyRate() : identification.SerialNumber();
    if (!serial)
        return notIdentified();
    if (options->anyBaud)
        std::fprintf(stderr, "The unit answers at %d bit/s\n", port.BitRate());
    // The autosave number is chosen now, as in the window, and claimed when the file is written.
    const FileWriter writeFile =
        options->autosave        ? AutosaveInfoFileWriter(*serial, FirstFreeAutosaveNumber(*serial))
        : options->output.empty() ? InfoFileWriter(ProposedFileName(*serial))
                                  : InfoFileWriter(options->output);
    const auto headers = identification.Headers();
    if (!headers)
        return notIdentified();

    ReadStart start = StartFrom(port, *serial, *headers, options->fresh);
    if (start.from == KeptStart::Unchecked) {
        std::fprintf(stderr, "%s\n%s\n", KeptCheckFailedText(start.check).c_str(), kContinueHint);
        return kLineLost;
    }
    RecordStore store;
    if (start.kept)
        store = std::move(start.kept->store);
    else
        store.Replace(headers->g, headers->x);
    // A laptop that goes to sleep loses its USB adapter; where the system will not say so, read all the same.
    const SleepInhibitor awake(AwakeReason(*serial));
    TerminalSteps steps(stderr, isatty(STDERR_FILENO) != 0, headers->g.EntryCount + headers->x.EntryCount);
    ReadJob job{port, store, steps, writeFile};
    job.keeper = start.keeper.get();
    job.in = start.kept ? &start.kept->in : nullptr;
    const ReadTally tally = RunRead(job);
    port.ClosePort();

    const std::string keepError = start.keeper ? start.keeper->Error() : "";
    if (!keepError.empty())
        std::fprintf(stderr, "%s\n", keepError.c_str());
    if (tally.lost) {
        std::fprintf(stderr, "%s\n", LineLostText(*tally.lost).c_str());
        if (start.keeper && keepError.empty())
            std::fprintf(stderr, "What was read is kept in %s. %s\n", start.keeper->Path().string().c_str(),
                         kContinueHint);
        return kLineLost;
    }
    if (!tally.fileError.empty()) {
        if (start.keeper && keepError.empty())
            std::fprintf(stderr, "What was read is kept in %s: the same command asks only for what is missing\n",
                         start.keeper->Path().string().c_str());
        return kUnusable;
    }
    std::printf("%s\n", tally.fileName.c_str());
    return tally.g.failed + tally.x.failed > 0 ? kEntriesFailed : kAllRead;
}

} // namespace lexorant::cli
