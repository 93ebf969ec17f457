#pragma once
// A file written whole beside its destination and put under its name only once complete, so that
// nobody ever finds it half-written under that name.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace lexorant {

enum class Claim { Claimed, Taken, Failed };

// ".lexorant-<host>-<pid>-": how the temporaries of process pid on this host begin; a counter and a
// salt follow, then ".tmp". The host's name is written with letters, digits and dots only.
std::string TemporaryNamePrefix(long pid);

// Removes the temporaries that a writer killed while writing left in folder: those of this host
// whose process has ended, and those of the older names without a host (".lexorant-<pid>-N-S.tmp",
// whose writer cannot be told) once untouched for a day: a temporary lives for seconds.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

class TemporaryFile {
public:
    // Writes bytes to a new hidden file in folder and flushes it to the disk; Ready() tells whether
    // every byte got there. permissions, when given, replace those of a new file. bytes must stay
    // alive as long as this object.
    TemporaryFile(const std::filesystem::path& folder, std::span<const std::uint8_t> bytes,
                  std::optional<unsigned> permissions = std::nullopt);
    // Removes the file unless it has been put under a name.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Ready() const { return ready_; }

    // Puts the file under target, replacing whatever file is there.
    bool ReplaceAs(const std::filesystem::path& target);

    // Puts the file under name (in the same folder) only if nothing at all is there, not even a
    // dangling link: a name that another writer took a moment ago is never replaced (Taken).
    Claim ClaimAs(const std::filesystem::path& name);

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
    std::span<const std::uint8_t> bytes_;
    bool ready_ = false;
    bool placed_ = false;
};

} // namespace lexorant
