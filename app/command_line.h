#pragma once
// What the window program takes from its command line besides the autosave switch: --help and
// --version, answered before any window exists (so that they need no display), a trace of the
// serial line, and a read-out to open at start, as a file manager passes it.
#include <optional>
#include <string>

namespace lexorant {

class TfrmMain;

// The exit code when the arguments ask for --help or --version (the answer is printed), otherwise
// nothing: the window starts.
std::optional<int> AnswerInfoOption(int argc, const char* const* argv);

// The read-out to open at start: the first argument that ends in ".inf" (any case) and is no switch
// ("-..."), leaving out the value of "-trace", which names a trace file. Empty when there is none.
std::string StartFileArgument(int argc, const char* const* argv);

// The value of "-trace" (also "/trace", any case): nothing without the switch, empty when the switch
// has no value (it is the last argument, or a switch follows it, "/autosave" included).
std::optional<std::string> TraceFileArgument(int argc, const char* const* argv);

// Traces the window's serial line to the named file. A file that cannot be written is reported on
// standard error and the window runs without a trace.
void StartTrace(TfrmMain& frmMain, const std::optional<std::string>& fileName);

// Opens the start file from the message loop, exactly as File > Open does with a confirmed name
// (an error escaping it is caught there, a failed open stays silent).
void OpenStartFile(TfrmMain& frmMain, const std::string& fileName);

// What the arguments ask of the shown window: the trace, the start file, and with "--smoke-test" (for checks
// of an installation) the note "lexorant: the window has been drawn" on standard error and the end
// of the message loop once the window has been painted the first time.
void ApplyStartArguments(TfrmMain& frmMain, int argc, const char* const* argv);

} // namespace lexorant
