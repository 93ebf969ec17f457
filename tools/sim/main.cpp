// lexorant-sim: a Caldora controller on a pseudo-terminal, for trying the program without a unit.
#include "tools/sim/com_link.h"
#include "tools/sim/command_line.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit_file.h"

#include "lexorant_version.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <optional>
#include <pthread.h>

using namespace lexorant::sim;

int main(int argc, char** argv) {
    std::string error;
    const auto line = ParseCommandLine({argv + 1, argv + argc}, error);
    if (!line) {
        std::cerr << "lexorant-sim: " << error << "\nTry 'lexorant-sim --help'.\n";
        return 2;
    }
    if (line->help) {
        std::cout << HelpText();
        return 0;
    }
    if (line->version) {
        lexorant::PrintVersion("lexorant-sim");
        return 0;
    }

    SimUnit unit;
    if (line->file.empty()) {
        unit = GenerateUnit(line->generate);
    } else if (auto loaded = LoadUnitFile(line->file, line->generate.serial)) {
        unit = std::move(*loaded);
    } else {
        std::cerr << "lexorant-sim: cannot read " << line->file << "\n";
        return 1;
    }

    // Blocked before any thread starts, so that only the sigwait below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    Simulator simulator(std::move(unit), line->behaviour);
    if (!line->requestLog.empty() && !simulator.LogRequestsTo(line->requestLog, error)) {
        std::cerr << "lexorant-sim: " << error << "\n";
        return 1;
    }
    if (!simulator.Start(error)) {
        std::cerr << "lexorant-sim: " << error << "\n";
        return 1;
    }
    std::optional<ComLink> link;
    if (!line->linkName.empty()) {
        try {
            link.emplace(line->linkName, simulator.SlavePath());
        } catch (const std::exception& e) {
            std::cerr << "lexorant-sim: " << e.what() << "\n";
            return 1;
        }
    }
    std::cout << simulator.SlavePath() << std::endl;
    if (link)
        std::cerr << "lexorant-sim: reachable as " << link->Path().string() << "\n";

    int received = 0;
    sigwait(&stopSignals, &received);
    simulator.Stop();
    return 0;
}
