// Measurements without the window, for bench/run:
//   probe_core make-file PATH          the largest ".inf" file: 65535 G-Info, 65535 X-Info of type 3
//   probe_core make-visits OLD NEW OTHER  two visits to a full unit whose log went round by a tenth
//                                      since, and a full unit of other entries throughout
//   probe_core make-read-outs DIR N  N read-outs of 200 G-Info + 50 X-Info entries, autosave names, 100 a
//   folder probe_core core-read               the reading loop in-process against a paced simulator
//   probe_core cli-read CLI SIM        lexorant-cli read of a lexorant-sim process, from its stderr lines
//   probe_core keep DIR                keeping a full unit's entries as a read does, in a kept read-out in
//   DIR
//   probe_core comeback CLI            lexorant-cli read --wait of a simulator that hangs up and comes back:
//                                      from the port's return to the next entry request
// Results are "name=value" lines on standard output (times in ms).
#include "bench/probe_common.h"
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "link/identification.h"
#include "link/read_loop.h"
#include "link/serial_port.h"
#include "platform/append_file.h"
#include "readout/record_store.h"
#include "tools/sim/com_link.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace lexorant;
using namespace lexorant::bench;

namespace {

constexpr int kBaud = 19200;
constexpr int kGCount = 200;
constexpr int kXCount = 50;

void ReportLineTimes(const char* prefix, double entryMs) {
    const LineBytes bytes = EntryPhaseBytes(kGCount, kXCount);
    const double full = LineMillis(bytes.requests + bytes.answers, kBaud);
    const double answers = LineMillis(bytes.answerGaps, kBaud);
    const std::string p = prefix;
    Report((p + "_entry_ms").c_str(), entryMs);
    Report((p + "_line_ms").c_str(), full);
    Report((p + "_ratio").c_str(), entryMs / full);
    // What the program adds to the time that the simulator's pacing takes (its answers).
    Report((p + "_overhead_per_entry_ms").c_str(), (entryMs - answers) / (kGCount + kXCount));
}

int MakeFile(const std::string& path) {
    sim::GenerateOptions options;
    options.gCount = 65535;
    options.xCount = 65535;
    options.xType = 3;
    const sim::SimUnit unit = sim::GenerateUnit(options);
    const std::string error = WriteInfoFile(unit.store, path);
    if (!error.empty()) {
        std::cerr << error << "\n";
        return 1;
    }
    return 0;
}

// The second visit's log went round by a tenth of each block: the oldest tenth of the first visit's
// entries overwritten by new ones.
int MakeVisits(const std::string& older, const std::string& newer, const std::string& other) {
    sim::GenerateOptions options;
    options.gCount = 65535;
    options.xCount = 65535;
    options.xType = 3;
    const RecordStore first = sim::GenerateUnit(options).store;
    options.seed = 2;
    const RecordStore later = sim::GenerateUnit(options).store;
    RecordStore second = first;
    const auto goRound = [](std::vector<std::uint8_t>& slots, const std::vector<std::uint8_t>& from,
                            std::size_t slotSize) {
        const std::size_t tenth = slots.size() / slotSize / 10 * slotSize;
        std::copy_n(from.begin(), tenth, slots.begin());
    };
    goRound(second.GInfoSlots, later.GInfoSlots, kGInfoSlotSize);
    goRound(second.XInfoSlots, later.XInfoSlots, kXInfoSlotSize);
    const std::pair<const RecordStore*, std::string> files[] = {
        {&first, older}, {&second, newer}, {&later, other}};
    for (const auto& [store, path] : files) {
        const std::string error = WriteInfoFile(*store, path);
        if (!error.empty()) {
            std::cerr << error << "\n";
            return 1;
        }
    }
    return 0;
}

// An archive of many units' read-outs: 50 different units, each written under many numbers.
int MakeReadOuts(const std::string& dir, int count) {
    constexpr int kUnits = 50;
    std::vector<sim::SimUnit> units;
    for (int u = 0; u < kUnits; ++u) {
        sim::GenerateOptions options;
        options.gCount = 200;
        options.xCount = 50;
        options.seed = static_cast<std::uint32_t>(u + 1);
        units.push_back(sim::GenerateUnit(options));
    }
    for (int i = 0; i < count; ++i) {
        const std::string folder = dir + "/" + std::to_string(i / 100);
        if (i % 100 == 0 && ::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return 1;
        const std::string name = folder + "/" + std::to_string(100000 + i % kUnits) + "_" +
                                 std::to_string(10 + i / kUnits) + ".inf";
        const std::string error = WriteInfoFile(units[static_cast<std::size_t>(i % kUnits)].store, name);
        if (!error.empty()) {
            std::cerr << error << "\n";
            return 1;
        }
    }
    return 0;
}

// Timestamps of the reading loop's events; nothing else.
class StampSteps : public ReadEvents {
public:
    void ReadStarted(const EntrySet&) override {}
    void Status(const std::string& text) override {
        if (first < 0)
            first = MonotonicNanos();
        last = MonotonicNanos();
        (void)text;
    }
    void EntryIn(EntryRef) override {}
    void EntryFailed(EntryRef, const std::string& text) override {
        std::cerr << "entry failed: " << text << "\n";
        ++errors;
    }

    long long first = -1;
    long long last = -1;
    int errors = 0;
};

int CoreRead() {
    ScratchConfig scratch;
    sim::GenerateOptions options;
    options.gCount = kGCount;
    options.xCount = kXCount;
    sim::Behaviour behaviour;
    behaviour.baud = kBaud;
    sim::Simulator simulator(sim::GenerateUnit(options), behaviour);
    std::string error;
    if (!simulator.Start(error)) {
        std::cerr << error << "\n";
        return 1;
    }
    SerialPort port;
    if (!port.OpenPort(simulator.SlavePath(), kBaud)) {
        std::cerr << "cannot open " << simulator.SlavePath() << "\n";
        return 1;
    }
    // The two waits of the identification, each timed on its own.
    const long long t0 = MonotonicNanos();
    port.Exchange(kFlushRequest, kSerialAnswerLimit);
    const double flushMs = MillisSince(t0);
    const long long t1 = MonotonicNanos();
    const auto serial = ParseSerialAnswer(port.Exchange(kSerialRequest, kSerialAnswerLimit).answer);
    const double serialMs = MillisSince(t1);
    Identification identification(port);
    const auto headers = identification.Headers();
    if (!serial || !headers) {
        std::cerr << "identification failed " << identification.FailureReason() << "\n";
        return 1;
    }
    RecordStore store;
    store.Replace(headers->g, headers->x);
    StampSteps steps;
    const std::string file = (scratch.Root() / "core.inf").string();
    ReadJob job{port, store, steps};
    RunRead(job);
    const WrittenFile written = InfoFileWriter(file)(store);
    if (!written.error.empty()) {
        std::cerr << written.error << "\n";
        return 1;
    }
    const long long end = MonotonicNanos();
    Report("core_flush_wait_ms", flushMs);
    Report("core_serial_wait_ms", serialMs);
    ReportLineTimes("core", static_cast<double>(end - steps.first) / 1e6);
    Report("core_errors", steps.errors);
    return steps.errors == 0 ? 0 : 1;
}

pid_t Spawn(const std::vector<std::string>& args, int stdoutFd, int stderrFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    if (stderrFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Reads fd to its end; each complete line with the time at which its chunk arrived.
std::vector<std::pair<long long, std::string>> TimedLines(int fd) {
    std::vector<std::pair<long long, std::string>> lines;
    std::string pending;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        const long long now = MonotonicNanos();
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
            lines.emplace_back(now, pending.substr(0, eol));
            pending.erase(0, eol + 1);
        }
    }
    return lines;
}

int CliRead(const std::string& cli, const std::string& simProgram) {
    ScratchConfig scratch;
    int simOut[2];
    if (::pipe(simOut) != 0)
        return 1;
    const pid_t sim = Spawn({simProgram, "--link", "com1", "--baud", std::to_string(kBaud), "--g-count",
                             std::to_string(kGCount), "--x-count", std::to_string(kXCount)},
                            simOut[1], -1);
    ::close(simOut[1]);
    if (sim < 0)
        return 1;
    // The simulator prints its device once it answers.
    std::string first;
    char c;
    while (::read(simOut[0], &c, 1) == 1 && c != '\n')
        first += c;

    int errPipe[2];
    if (::pipe(errPipe) != 0)
        return 1;
    const int devNull = ::open("/dev/null", O_WRONLY);
    const long long start = MonotonicNanos();
    const pid_t read = Spawn({cli, "read", "COM1", "--baud", std::to_string(kBaud), "--output",
                              (scratch.Root() / "cli.inf").string()},
                             devNull, errPipe[1]);
    ::close(errPipe[1]);
    ::close(devNull);
    const auto lines = TimedLines(errPipe[0]);
    int status = 0;
    ::waitpid(read, &status, 0);
    const long long end = MonotonicNanos();
    ::close(errPipe[0]);
    ::kill(sim, SIGTERM);
    ::waitpid(sim, nullptr, 0);
    ::close(simOut[0]);

    long long firstReading = -1;
    for (const auto& [when, text] : lines)
        if (text.rfind("Reading G-Info 1 of", 0) == 0 && firstReading < 0)
            firstReading = when;
    if (firstReading < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "lexorant-cli read failed (" << status << "); " << lines.size() << " lines\n";
        for (const auto& l : lines)
            std::cerr << "  " << l.second << "\n";
        return 1;
    }
    Report("cli_identification_ms", static_cast<double>(firstReading - start) / 1e6);
    ReportLineTimes("cli", static_cast<double>(end - firstReading) / 1e6);
    return 0;
}

// What keeping costs a read: every entry of a full unit (65535 G-Info, 65535 X-Info) through the
// kept read-out's writer on the calling thread, against the line time of those entries at 19200
// bit/s; and one sync of half a second's worth of entries, which the writer's own thread does twice
// a second.
int Keep(const std::string& dir) {
    constexpr int kCount = 65535;
    sim::GenerateOptions options;
    options.gCount = kCount;
    options.xCount = kCount;
    const sim::SimUnit unit = sim::GenerateUnit(options);
    const std::filesystem::path path = std::filesystem::path(dir) / "probe.partial";
    std::string error;
    auto writer = KeptReadOutWriter::Begin(path, unit.serial, unit.store.GInfo, unit.store.XInfo, error);
    if (!writer) {
        std::cerr << "cannot keep in " << path << ": " << error << "\n";
        return 1;
    }
    const long long start = MonotonicNanos();
    for (int i = 0; i < kCount; ++i)
        writer->Keep({InfoBlock::GInfo, static_cast<std::uint16_t>(i)},
                     {unit.store.GInfoSlot(i), kGInfoSlotSize});
    for (int i = 0; i < kCount; ++i)
        writer->Keep({InfoBlock::XInfo, static_cast<std::uint16_t>(i)},
                     {unit.store.XInfoSlot(i), kXInfoSlotSize});
    const double keepMs = MillisSince(start);
    writer->Completed();
    const LineBytes bytes = EntryPhaseBytes(kCount, kCount);
    const double lineMs = LineMillis(bytes.requests + bytes.answers, kBaud);
    Report("keep_full_unit_ms", keepMs);
    Report("keep_full_unit_line_ms", lineMs);
    Report("keep_percent_of_line", 100.0 * keepMs / lineMs);
    Report("keep_per_entry_us", keepMs * 1000.0 / (2.0 * kCount));

    // Half a second of G-Info entries at 19200 bit/s (43 bytes each) per sync, 20 times: the median.
    AppendFile file;
    if (!file.Create(path, error))
        return 1;
    const std::string record =
        EncodeKeptRecord({InfoBlock::GInfo, 0}, {unit.store.GInfoSlot(0), kGInfoSlotSize});
    const std::span<const std::uint8_t> recordBytes(reinterpret_cast<const std::uint8_t*>(record.data()),
                                                    record.size());
    std::vector<double> syncs;
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 22; ++i)
            file.Append(recordBytes);
        const long long t = MonotonicNanos();
        file.Sync();
        syncs.push_back(MillisSince(t));
    }
    file.Close();
    std::filesystem::remove(path);
    std::sort(syncs.begin(), syncs.end());
    Report("keep_sync_median_ms", syncs[syncs.size() / 2]);
    Report("keep_sync_max_ms", syncs.back());
    return 0;
}

// The adapter pulled mid-read and plugged in again: a simulator that hangs up after 20 entries, and
// after a pause a new one of the same unit under the same port name. The wait runs from the moment
// the port's link leads to the new device to the moment its first entry request arrives (the one
// kept entry asked again); the pauses move the return across the program's interval of looks.
int Comeback(const std::string& cli) {
    using namespace std::chrono_literals;
    constexpr std::size_t kIdentification = 4; // flush, "SN?", "GI?", "XI?"
    constexpr int kRounds = 6;
    ScratchConfig scratch;
    sim::GenerateOptions options;
    options.gCount = 40;
    options.xCount = 10;
    const sim::SimUnit unit = sim::GenerateUnit(options);
    sim::Behaviour paced;
    paced.baud = kBaud;
    std::vector<double> waits;
    for (int round = 0; round < kRounds; ++round) {
        sim::Behaviour hangUp = paced;
        hangUp.hangUpAfter = kIdentification + 20;
        sim::Simulator first(unit, hangUp);
        std::string error;
        if (!first.Start(error)) {
            std::cerr << error << "\n";
            return 1;
        }
        std::optional<sim::ComLink> link;
        link.emplace("com1", first.SlavePath());
        const int devNull = ::open("/dev/null", O_WRONLY);
        const pid_t read = Spawn({cli, "read", "COM1", "--baud", std::to_string(kBaud), "--wait", "1",
                                  "--output", (scratch.Root() / "comeback.inf").string()},
                                 devNull, devNull);
        ::close(devNull);
        if (read < 0 || !first.WaitForRequests(kIdentification + 21, 60s)) {
            std::cerr << "the read never reached the hang-up\n";
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(700 + 90 * round));
        sim::Simulator second(unit, paced);
        if (!second.Start(error)) {
            std::cerr << error << "\n";
            return 1;
        }
        link.emplace("com1", second.SlavePath());
        const long long back = MonotonicNanos();
        std::size_t entry = 0; // the number of requests up to the first entry request
        for (std::size_t n = 1; entry == 0 && second.WaitForRequests(n, 10s); ++n)
            if (second.Requests()[n - 1].find("I@ ") != std::string::npos)
                entry = n;
        const double wait = MillisSince(back);
        int status = 0;
        ::waitpid(read, &status, 0);
        if (entry == 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::cerr << "the read did not go on after the port came back (" << status << ")\n";
            return 1;
        }
        waits.push_back(wait);
    }
    std::sort(waits.begin(), waits.end());
    Report("comeback_median_ms", waits[waits.size() / 2]);
    Report("comeback_max_ms", waits.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "make-file")
        return MakeFile(args[1]);
    if (args.size() == 4 && args[0] == "make-visits")
        return MakeVisits(args[1], args[2], args[3]);
    if (args.size() == 3 && args[0] == "make-read-outs")
        return MakeReadOuts(args[1], std::stoi(args[2]));
    if (args.size() == 1 && args[0] == "core-read")
        return CoreRead();
    if (args.size() == 3 && args[0] == "cli-read")
        return CliRead(args[1], args[2]);
    if (args.size() == 2 && args[0] == "keep")
        return Keep(args[1]);
    if (args.size() == 2 && args[0] == "comeback")
        return Comeback(args[1]);
    std::cerr << "usage: probe_core make-file PATH | make-visits OLD NEW OTHER | make-read-outs DIR N | "
                 "core-read | cli-read CLI SIM | keep DIR | comeback CLI\n";
    return 2;
}
