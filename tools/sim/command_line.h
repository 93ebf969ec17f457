#pragma once
// The options of the lexorant-sim program.
#include "tools/sim/behaviour.h"
#include "tools/sim/unit.h"

#include <optional>
#include <string>
#include <vector>

namespace lexorant::sim {

struct CommandLine {
    GenerateOptions generate;
    std::string file;     // ".inf" read-out to serve; empty: generated data
    std::string linkName; // "com1" to "com15", or empty
    std::string requestLog; // file that gets every request line, or empty
    Behaviour behaviour;  // paced at 9600 bits per second unless told otherwise
    bool help = false;
    bool version = false;
};

// The options after the program name; nothing, with the reason in error, on a bad option.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

std::string HelpText();

} // namespace lexorant::sim
