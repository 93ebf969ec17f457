#pragma once
// Where the program keeps data of its own between runs: the user's state folder. It holds data (read-outs
// kept for continuing), never settings.
#include <filesystem>
#include <optional>

namespace lexorant {

// Linux: $XDG_STATE_HOME/brenno-lexorant when XDG_STATE_HOME is an absolute path, otherwise
// $HOME/.local/state/brenno-lexorant. Windows: %LOCALAPPDATA%\Brenno Lexorant. Nothing when the
// user has no such folder to put it in. The folder itself is not created here.
std::optional<std::filesystem::path> ProgramStateFolder();

} // namespace lexorant
