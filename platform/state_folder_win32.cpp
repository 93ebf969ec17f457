#include "platform/state_folder.h"

#include <shlobj.h>
#include <windows.h>

namespace lexorant {

std::optional<std::filesystem::path> ProgramStateFolder() {
    PWSTR folder = nullptr;
    std::optional<std::filesystem::path> result;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &folder)))
        result = std::filesystem::path(folder) / L"Brenno Lexorant";
    ::CoTaskMemFree(folder);
    return result;
}

} // namespace lexorant
