#pragma once
// A simulated controller reachable as "COM1" through a temporary device folder, for tests that
// talk to it with SerialPort the way the program does.
#include "tools/sim/com_link.h"
#include "tools/sim/simulator.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace lexorant::test {

class SimLine {
public:
    static constexpr const char* kPortName = "COM1";

    explicit SimLine(sim::SimUnit unit, sim::Behaviour behaviour = {})
        : simulator_(std::move(unit), std::move(behaviour)) {
        char folder[] = "/tmp/lexorant-sim-XXXXXX";
        if (::mkdtemp(folder) == nullptr)
            throw std::runtime_error("no temporary folder");
        folder_ = folder;
        if (const char* saved = std::getenv("XDG_CONFIG_HOME"))
            savedConfigHome_ = saved;
        ::setenv("XDG_CONFIG_HOME", folder, 1);
        std::string error;
        if (!simulator_.Start(error))
            throw std::runtime_error(error);
        link_.emplace("com1", simulator_.SlavePath());
    }

    ~SimLine() {
        if (replugged_)
            replugged_->Stop();
        simulator_.Stop();
        link_.reset();
        if (savedConfigHome_)
            ::setenv("XDG_CONFIG_HOME", savedConfigHome_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    // The adapter plugged in again: a new simulator of `unit` under the same port name (the old one,
    // if it still runs, hangs up). Simulator() is the new one from then on.
    void Replug(sim::SimUnit unit, sim::Behaviour behaviour = {}) {
        Simulator().Stop();
        replugged_.emplace(std::move(unit), std::move(behaviour));
        std::string error;
        if (!replugged_->Start(error))
            throw std::runtime_error(error);
        link_.emplace("com1", replugged_->SlavePath());
    }

    sim::Simulator& Simulator() { return replugged_ ? *replugged_ : simulator_; }

private:
    std::filesystem::path folder_;
    std::optional<std::string> savedConfigHome_;
    sim::Simulator simulator_;
    std::optional<sim::Simulator> replugged_;
    std::optional<sim::ComLink> link_;
};

} // namespace lexorant::test
