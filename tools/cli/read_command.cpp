#include "file/file_naming.h"
#include "file/kept_read_out.h"
#include "link/port_commands.h"
#include "link/serial_port.h"
#include "link/wire_trace.h"
#include "readout/record_store.h"
#include "session/read_session.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"
#include "tools/cli/terminal_events.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    bool fresh = false;             // start anew even where a kept read-out could be continued
    std::optional<int> waitMinutes; // --wait: for the unit of a lost line, also without a terminal
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
    parser.Value("--wait", [&](const std::string& value) {
        char* end = nullptr;
        const long minutes = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || minutes < 0 || minutes > 100000)
            return parser.Fail("--wait takes whole minutes, not '" + value + "'");
        options.waitMinutes = static_cast<int>(minutes);
        return true;
    });
    parser.Argument(options.port);
    parser.Required(options.port, "PORT is missing (COM1..COM15 or a device path)");
    parser.Check([&] {
        return !(options.autosave && !options.output.empty()) ||
               parser.Fail("--output and --autosave exclude each other");
    });
    if (!parser.Parse(args))
        return std::nullopt;
    return options;
}

const char* const kContinueHint = "Run the same command again to continue the read where it stopped.";

// Says on stderr what the read starts from.
void SayStart(const ReadSession& session, bool fresh) {
    const ReadStart& start = session.Start();
    const std::string anew = ReadAnewText(start.from, session.Serial());
    if (!anew.empty() && !fresh) // --fresh asked for a read anew
        std::fprintf(stderr, "%s\n", anew.c_str());
    else if (start.from == KeptStart::Continued)
        std::fprintf(stderr, "Continuing the kept read-out of %s: %zu of %zu entries are in (%s)\n",
                     session.Serial().c_str(), start.kept->in.Count(), start.kept->in.Size(),
                     start.kept->path.string().c_str());
    if (!start.keeper)
        std::fprintf(stderr, "lexorant-cli read: cannot keep the entries read (%s): a lost line loses them\n",
                     start.keepError.c_str());
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
            std::fprintf(stderr, "lexorant-cli read: cannot write the trace '%s': %s\n",
                         options->trace.c_str(), error.c_str());
            return kUnusable;
        }
        port.SetTrace(std::move(trace));
    }
    if (!port.OpenPort(options->port, options->baud)) {
        std::fprintf(stderr, "Unable to open %s\n", options->port.c_str());
        return kUnusable;
    }

    ReadSession session(port);
    ReadChoices choices;
    choices.anyRate = options->anyBaud;
    // The autosave number is chosen now, as in the window, and claimed when the file is written.
    choices.target = [&](const std::string& serial) {
        if (options->anyBaud)
            std::fprintf(stderr, "The unit answers at %d bit/s\n", port.BitRate());
        return options->autosave         ? AutosaveTarget(serial)
               : options->output.empty() ? NamedTarget(ProposedFileName(serial))
                                         : NamedTarget(options->output);
    };
    choices.continueKept = [fresh = options->fresh](const KeptReadOut&) { return !fresh; };
    switch (session.Prepare(choices)) {
    case Prepared::Ready:
    case Prepared::Cancelled: // never: the command always has a name
        break;
    case Prepared::NotIdentified:
        std::fprintf(stderr, "%s\n", session.FailureText().c_str());
        if (!session.FailureReason().empty())
            std::fprintf(stderr, "%s\n", session.FailureReason().c_str());
        return kNotIdentified;
    case Prepared::Refused:
        std::fprintf(stderr, "lexorant-cli read: %s\n", session.FailureText().c_str());
        return kUnusable;
    case Prepared::Unchecked:
        std::fprintf(stderr, "%s\n%s\n", session.FailureText().c_str(), kContinueHint);
        return kLineLost;
    }
    SayStart(session, options->fresh);
    RecordStore store = session.TakeStartStore();
    const InfoHeaders& headers = session.Headers();
    const bool terminal = isatty(STDERR_FILENO) != 0;
    TerminalEvents events(stderr, terminal, headers.g.EntryCount + headers.x.EntryCount);
    // A knocked-out cable pushed back in should cost seconds: on a terminal the read waits for the unit.
    if (terminal || options->waitMinutes)
        events.WaitForUnit(session, options->port,
                           options->waitMinutes ? std::optional(std::chrono::minutes(*options->waitMinutes))
                                                : std::nullopt);
    const ReadResult result = session.Run(store, events);
    port.ClosePort();
    if (result.failed) {
        std::fprintf(stderr, "lexorant-cli read: %s\n", result.unexpected.c_str());
        return kUnusable;
    }

    // A failure to keep was told when it happened; what was kept before it still counts.
    const KeptReadOutWriter* keeper = session.Start().keeper.get();
    if (result.tally.lost) {
        if (!terminal && !options->waitMinutes) // a wait has said it already
            std::fprintf(stderr, "%s\n", LineLostText(*result.tally.lost).c_str());
        if (keeper)
            std::fprintf(stderr, "What was read is kept in %s. %s\n", keeper->Path().string().c_str(),
                         kContinueHint);
        return kLineLost;
    }
    if (!result.Written()) {
        if (keeper)
            std::fprintf(stderr,
                         "What was read is kept in %s: the same command asks only for what is missing\n",
                         keeper->Path().string().c_str());
        return kUnusable;
    }
    std::printf("%s\n", result.file->name.c_str());
    return result.tally.g.failed + result.tally.x.failed > 0 ? kEntriesFailed : kAllRead;
}

} // namespace lexorant::cli
