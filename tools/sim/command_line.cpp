#include "tools/sim/command_line.h"

#include "link/port_commands.h"
#include "platform/dos_devices.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace lexorant::sim {

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value, T low = std::numeric_limits<T>::min(),
                 T high = std::numeric_limits<T>::max()) {
    T parsed{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || parsed < low ||
        parsed > high)
        return false;
    value = parsed;
    return true;
}

} // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
    CommandLine line;
    line.behaviour.baud = 9600;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            line.help = true;
            continue;
        }
        if (option == "--version") {
            line.version = true;
            continue;
        }
        if (option == "--unpaced") {
            line.behaviour.baud = 0;
            continue;
        }
        if (option == "--garbage") {
            line.behaviour.garbage = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "unknown option or missing value: " + option;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        bool good = true;
        if (option == "--link") {
            line.linkName = value;
            good = ComPortNumber(value).has_value();
        } else if (option == "--file") {
            line.file = value;
        } else if (option == "--serial") {
            line.generate.serial = value;
            good = value.find_first_of("\r\n") == std::string::npos;
        } else if (option == "--g-count") {
            good = ParseNumber(value, line.generate.gCount);
        } else if (option == "--x-count") {
            good = ParseNumber(value, line.generate.xCount);
        } else if (option == "--x-type") {
            good = ParseNumber<std::uint16_t>(value, line.generate.xType, 1, 3);
        } else if (option == "--seed") {
            good = ParseNumber(value, line.generate.seed);
        } else if (option == "--baud") {
            good = ParseNumber(value, line.behaviour.baud, 1);
        } else if (option == "--delay") {
            int ms = 0;
            good = ParseNumber(value, ms, 0);
            line.behaviour.delay = std::chrono::milliseconds(ms);
        } else if (option == "--stop-after") {
            std::size_t count = 0;
            good = ParseNumber(value, count);
            line.behaviour.stopAfter = count;
        } else if (option == "--silent-for") {
            good = ParseNumber(value, line.behaviour.silentFor);
        } else if (option == "--hang-up-after") {
            std::size_t count = 0;
            good = ParseNumber(value, count);
            line.behaviour.hangUpAfter = count;
        } else if (option == "--line-rate") {
            good = ParseNumber(value, line.behaviour.lineRate) &&
                   std::ranges::find(kBitRates, line.behaviour.lineRate) != kBitRates.end();
        } else if (option == "--request-log") {
            line.requestLog = value;
        } else if (option == "--fault") {
            const auto fault = ParseEntryFault(value);
            good = fault.has_value();
            if (fault)
                line.behaviour.faults.push_back(*fault);
        } else {
            error = "unknown option: " + option;
            return std::nullopt;
        }
        if (!good) {
            error = "bad value for " + option + ": " + value;
            return std::nullopt;
        }
    }
    return line;
}

std::string HelpText() {
    return R"(Usage: lexorant-sim [OPTION]...
Simulates the controller of a Caldora unit on a pseudo-terminal. The first line of
output is the device to open as the serial port. Answers "SN?", "GI?", "XI?" and the
entry requests "GI@ n" and "XI@ n" until interrupted (SIGINT or SIGTERM).

Line:
  --link comN        also make the device reachable as port COMN (N 1 to 15) through a
                     link in the device folder; the link is removed on exit
  --baud RATE        send answers at RATE bits per second, ten bits a byte (default 9600)
  --unpaced          send every answer at once
  --request-log FILE write every request line to FILE as it arrives, without its CR LF
                     (the "\r\n" flush as an empty line)

Data (generated unless --file is given; the same options give the same bytes):
  --serial TEXT      serial number, also with --file (default 4711-0815)
  --g-count N        G-Info entries (default 120)
  --x-count N        X-Info entries (default 40)
  --x-type T         X-Info type 1, 2 or 3 (default 3)
  --seed N           seed of the generated entries (default 1)
  --file PATH        serve the headers and entries of a ".inf" read-out instead

Faults:
  --fault L:I:KIND   entry I (from 0, as requested) of block L (G or X) is answered
                     with a fault; repeatable. KIND is one of
                       checksum  wrong checksum
                       missing   one character left out (the answer is one short)
                       zero      a zero byte in place of a data character
                       lower     hex digits in lower case (still a good answer)
                       none      no answer
  --stop-after K     answer the first K requests (the "\r\n" flush counts), then none
  --silent-for N     with --stop-after: stay silent for N requests only, then answer again
  --hang-up-after K  answer the first K requests, then hang up the line at the next one
                     (as when the adapter is pulled) and stop answering
  --line-rate RATE   the unit's own bit rate (1200 to 19200): a request sent at another
                     rate is not understood and gets no answer (default: any rate)
  --delay MS         wait MS milliseconds before every answer; past 2000 the answer
                     arrives after the program's time-out and is read by its next request
  --garbage          answer every request with junk of the answer's length

  --help             show this text
  --version          show the version
)";
}

} // namespace lexorant::sim
