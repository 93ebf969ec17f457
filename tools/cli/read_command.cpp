#include "autosave_file.h"
#include "commands.h"
#include "file_naming.h"
#include "identification.h"
#include "info_file.h"
#include "record_store.h"
#include "serial_port.h"
#include "terminal_steps.h"

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace lexorant::cli {

namespace {

enum Exit { kAllRead = 0, kUnusable = 1, kNotIdentified = 2, kEntriesFailed = 3 };

struct ReadOptions {
    std::string port;
    int baud = 9600;
    std::string output;
    bool autosave = false;
};

std::optional<ReadOptions> ParseReadOptions(const Arguments& args) {
    ReadOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--baud" && hasValue) {
            const std::string value = args[++i];
            options.baud = 0;
            for (int rate : {1200, 2400, 4800, 9600, 19200})
                if (value == std::to_string(rate))
                    options.baud = rate;
            if (options.baud == 0) {
                std::fprintf(stderr, "lexorant-cli read: unsupported bit rate '%s'\n", value.c_str());
                return std::nullopt;
            }
        } else if (a == "--output" && hasValue) {
            options.output = args[++i];
        } else if (a == "--autosave") {
            options.autosave = true;
        } else if (options.port.empty() && !a.empty() && a[0] != '-') {
            options.port = a;
        } else {
            std::fprintf(stderr, "lexorant-cli read: unexpected argument '%s'\n", a.c_str());
            return std::nullopt;
        }
    }
    if (options.port.empty()) {
        std::fputs("lexorant-cli read: PORT is missing (COM1..COM15 or a device path)\n", stderr);
        return std::nullopt;
    }
    if (options.autosave && !options.output.empty()) {
        std::fputs("lexorant-cli read: --output and --autosave exclude each other\n", stderr);
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
    if (!port.OpenPort(options->port, options->baud)) {
        std::fprintf(stderr, "Unable to open %s\n", options->port.c_str());
        return kUnusable;
    }

    FlushLine(port);
    const auto serial = QuerySerialNumber(port);
    if (!serial) {
        std::fprintf(stderr, "%s\n", kNoSerialText);
        return kNotIdentified;
    }
    // The autosave number is chosen now, as in the window, and claimed when the file is written.
    const FileWriter writeFile =
        options->autosave        ? AutosaveInfoFileWriter(*serial, FirstFreeAutosaveNumber(*serial))
        : options->output.empty() ? InfoFileWriter(ProposedFileName(*serial))
                                  : InfoFileWriter(options->output);
    const auto g = QueryInfoHeader(port, 'G');
    if (!g) {
        std::fprintf(stderr, "%s\n", kNoGInfoHeaderText);
        return kNotIdentified;
    }
    const auto x = QueryInfoHeader(port, 'X');
    if (!x) {
        std::fprintf(stderr, "%s\n", kNoXInfoHeaderText);
        return kNotIdentified;
    }

    RecordStore store;
    store.Replace(*g, *x);
    TerminalSteps steps(stderr, isatty(STDERR_FILENO) != 0, g->EntryCount + x->EntryCount);
    ReadJob job{port, store, steps, writeFile};
    const ReadTally tally = RunRead(job);
    port.ClosePort();

    if (!tally.fileError.empty())
        return kUnusable;
    std::printf("%s\n", tally.fileName.c_str());
    return tally.g.failed + tally.x.failed > 0 ? kEntriesFailed : kAllRead;
}

} // namespace lexorant::cli
