#include "platform/file_access.h"

#include <algorithm>
#include <windows.h>

namespace lexorant {

bool MayWrite(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

bool WriteInPlace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, bool create) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A disk file is cut to what is written; a device has no end to set.
    bool ok = ::GetFileType(file) != FILE_TYPE_DISK || ::SetEndOfFile(file);
    while (ok && !bytes.empty()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        ok = ::WriteFile(file, bytes.data(), want, &n, nullptr) && n > 0;
        bytes = bytes.subspan(ok ? n : bytes.size());
    }
    return ::CloseHandle(file) && ok;
}

} // namespace lexorant
