#include "platform/temporary_file.h"
#include "platform/this_process.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <windows.h>

namespace lexorant {

namespace fs = std::filesystem;

std::string ThisHost() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!::GetComputerNameA(name, &size))
        return {};
    return std::string(name, size);
}

bool ProcessIsGone(long pid) {
    if (pid <= 0)
        return false;
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return ::GetLastError() == ERROR_INVALID_PARAMETER; // no such process; access denied is one alive
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

namespace {

// The name carries the host, the process, a counter and the time: several laptops write into one folder.
HANDLE CreateUniqueTemporary(const fs::path& folder, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const auto salt =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary =
            folder / (TemporaryNamePrefix(static_cast<long>(::GetCurrentProcessId())) +
                      std::to_string(counter++) + "-" + std::to_string(salt % 1000000007ULL) + ".tmp");
        const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(file, bytes.data(), want, &n, nullptr) || n == 0)
            return false;
        bytes = bytes.subspan(n);
    }
    return true;
}

} // namespace

// Windows keeps no permission bits beyond read-only, and a read-only file is never replaced.
TemporaryFile::TemporaryFile(const fs::path& folder, std::span<const std::uint8_t> bytes,
                             std::optional<unsigned> /*permissions*/)
    : folder_(folder.empty() ? fs::path(".") : folder), bytes_(bytes) {
    RemoveStaleTemporaries(folder_);
    const HANDLE file = CreateUniqueTemporary(folder_, path_);
    if (file == INVALID_HANDLE_VALUE) {
        path_.clear();
        return;
    }
    const bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    ready_ = ::CloseHandle(file) && ok;
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty() && !placed_)
        ::DeleteFileW(path_.c_str());
}

bool TemporaryFile::ReplaceAs(const fs::path& target) {
    if (!ready_ || placed_ ||
        !::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    placed_ = true;
    return true;
}

Claim TemporaryFile::ClaimAs(const fs::path& name) {
    if (!ready_ || placed_)
        return Claim::Failed;
    // Without MOVEFILE_REPLACE_EXISTING the move fails when anything has the name.
    if (::MoveFileExW(path_.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH)) {
        placed_ = true;
        return Claim::Claimed;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Claim::Taken : Claim::Failed;
}

} // namespace lexorant
