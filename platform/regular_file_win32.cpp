#include "platform/regular_file.h"

#include <algorithm>
#include <windows.h>

namespace lexorant {

namespace {

HANDLE OpenRegularFile(const std::filesystem::path& path) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open; a named pipe without a free
    // instance fails at once (ERROR_PIPE_BUSY) rather than waiting for one.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

} // namespace

RegularFileReader::RegularFileReader(const std::filesystem::path& path)
    : handle_(reinterpret_cast<std::intptr_t>(OpenRegularFile(path))) {}

RegularFileReader::~RegularFileReader() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool RegularFileReader::ReadUpTo(std::uint8_t* out, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), out + got, want, &n, nullptr))
            return false;
        if (n == 0)
            break;
        got += n;
    }
    return true;
}

} // namespace lexorant
