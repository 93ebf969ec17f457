#include "platform/state_folder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace lexorant {

std::optional<std::filesystem::path> ProgramStateFolder() {
    constexpr const char* kName = "brenno-lexorant";
    // A relative XDG_STATE_HOME is invalid and ignored, as the base directory rules say.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        return std::filesystem::path(state) / kName;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/')
        return std::nullopt;
    return std::filesystem::path(home) / ".local" / "state" / kName;
}

} // namespace lexorant
