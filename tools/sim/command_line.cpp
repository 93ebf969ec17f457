#include "tools/sim/command_line.h"

#include "link/port_commands.h"
#include "options/option_parser.h"
#include "platform/dos_devices.h"

#include <algorithm>
#include <charconv>
#include <functional>
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
    OptionParser parser([&error](const std::string& text) { error = text; });
    // NAME VALUE, kept when `good` says it will do.
    const auto value = [&parser](std::string name, std::function<bool(const std::string&)> good) {
        parser.Value(name, [&parser, name, good = std::move(good)](const std::string& v) {
            return good(v) || parser.Fail("bad value for " + name + ": " + v);
        });
    };
    const auto count = [](std::optional<std::size_t>& into) {
        return [&into](const std::string& v) {
            std::size_t n = 0;
            const bool good = ParseNumber(v, n);
            into = n;
            return good;
        };
    };
    parser.Flag("--help", line.help);
    parser.Alias("-h");
    parser.Flag("--version", line.version);
    bool unpaced = false;
    parser.Flag("--unpaced", unpaced);
    parser.Flag("--garbage", line.behaviour.garbage);
    value("--link", [&](const std::string& v) {
        line.linkName = v;
        return ComPortNumber(v).has_value();
    });
    parser.Value("--file", line.file);
    value("--serial", [&](const std::string& v) {
        line.generate.serial = v;
        return v.find_first_of("\r\n") == std::string::npos;
    });
    value("--g-count", [&](const std::string& v) { return ParseNumber(v, line.generate.gCount); });
    value("--x-count", [&](const std::string& v) { return ParseNumber(v, line.generate.xCount); });
    value("--x-type",
          [&](const std::string& v) { return ParseNumber<std::uint16_t>(v, line.generate.xType, 1, 3); });
    value("--seed", [&](const std::string& v) { return ParseNumber(v, line.generate.seed); });
    value("--baud", [&](const std::string& v) {
        unpaced = false; // the later of --baud and --unpaced counts
        return ParseNumber(v, line.behaviour.baud, 1);
    });
    value("--delay", [&](const std::string& v) {
        int ms = 0;
        const bool good = ParseNumber(v, ms, 0);
        line.behaviour.delay = std::chrono::milliseconds(ms);
        return good;
    });
    value("--stop-after", count(line.behaviour.stopAfter));
    value("--silent-for", [&](const std::string& v) { return ParseNumber(v, line.behaviour.silentFor); });
    value("--hang-up-after", count(line.behaviour.hangUpAfter));
    value("--line-rate", [&](const std::string& v) {
        return ParseNumber(v, line.behaviour.lineRate) &&
               std::ranges::find(kBitRates, line.behaviour.lineRate) != kBitRates.end();
    });
    parser.Value("--request-log", line.requestLog);
    value("--fault", [&](const std::string& v) {
        const auto fault = ParseEntryFault(v);
        if (fault)
            line.behaviour.faults.push_back(*fault);
        return fault.has_value();
    });
    if (!parser.Parse(args))
        return std::nullopt;
    if (unpaced)
        line.behaviour.baud = 0;
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
