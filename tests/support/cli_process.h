#pragma once
// lexorant-cli (or another program built beside the test) run as a process in a folder, without a
// display: DISPLAY and QT_QPA_PLATFORM unset, so that a program that draws must choose offscreen itself.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace lexorant::test {

inline std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs `program args` (a shell command line) in `dir` with its output in out.txt and err.txt there,
// with the environment's assignments `settings` ("LC_ALL=de_DE.UTF-8"); the exit code, or -1 when it
// did not exit.
inline int RunInFolder(const std::filesystem::path& dir, const std::string& args, const std::string& settings = "",
                       const std::string& program = "lexorant-cli") {
    const auto path = std::filesystem::read_symlink("/proc/self/exe").parent_path() / program;
    const std::string command = "cd '" + dir.string() + "' && env -u DISPLAY -u QT_QPA_PLATFORM " + settings + " '" +
                                path.string() + "' " + args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace lexorant::test
