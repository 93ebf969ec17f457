#include "platform/append_file.h"

#include <algorithm>
#include <system_error>
#include <windows.h>

namespace lexorant {

namespace {

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::string LastErrorText() { return std::system_category().message(static_cast<int>(::GetLastError())); }

// A reparse point (a link) is opened itself, not followed, and refused with anything else that is no
// plain disk file: the file it leads to must not be cut and written.
HANDLE OpenPlainFile(const std::filesystem::path& path, DWORD disposition, std::string& error) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, disposition,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = LastErrorText();
        return file;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        error = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? "a link is there"
                                                                            : "no regular file is there";
        ::CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

} // namespace

AppendFile::~AppendFile() { Close(); }

bool AppendFile::Create(const std::filesystem::path& path, std::string& error) {
    Close();
    // Without FILE_SHARE_WRITE a file that another writer holds does not open, and is not cut.
    const HANDLE file = OpenPlainFile(path, OPEN_ALWAYS, error);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    if (!::SetEndOfFile(file)) {
        error = LastErrorText();
        ::CloseHandle(file);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool AppendFile::OpenKeeping(const std::filesystem::path& path, std::uint64_t keep, std::string& error) {
    Close();
    const HANDLE file = OpenPlainFile(path, OPEN_EXISTING, error);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(keep);
    if (!::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file)) {
        error = LastErrorText();
        ::CloseHandle(file);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool AppendFile::Append(std::span<const std::uint8_t> bytes) {
    if (handle_ == -1)
        return false;
    // The file pointer stays at the end: only this object writes, and always all of it.
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(H(handle_), bytes.data(), want, &written, nullptr) || written == 0)
            return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

bool AppendFile::Sync() { return handle_ != -1 && ::FlushFileBuffers(H(handle_)) != 0; }

void AppendFile::Close() {
    if (handle_ == -1)
        return;
    ::CloseHandle(H(handle_));
    handle_ = -1;
}

} // namespace lexorant
