#pragma once
// One read-out into the dataset: its three tables written whole and renamed into place, then what the
// manifest keeps of it.
#include "dataset/export_manifest.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace lexorant {

struct SourceFile {
    std::string given; // the path as given: the read_out column
    std::string key;   // the absolute path: the manifest's key and the tables' name
    std::uint64_t size = 0;
    std::int64_t modified = 0;
};

enum class ExportOutcome { Written, Unchanged, Unreadable, Failed };

struct ReadOutExport {
    ExportOutcome outcome = ExportOutcome::Failed;
    ManifestEntry entry; // Written, Unchanged: what the manifest keeps now
    std::string error;   // Failed: what could not be written
};

// `before`: the manifest's entry of the source, if any. A source whose bytes hash as before keeps its
// tables (Unchanged, with the new modification time). A changed one's tables are replaced, and where
// they lay elsewhere before (another serial, a block with no entry in now) the old ones are removed.
ReadOutExport ExportReadOut(const std::filesystem::path& dir, const SourceFile& source,
                            const std::optional<ManifestEntry>& before);

// Removes every table file of an entry; false when one is there and stays.
bool RemoveTables(const std::filesystem::path& dir, const ManifestEntry& entry);

// CRC-32 of a regular file's bytes; nothing when it cannot be read.
std::optional<std::uint32_t> HashOfFile(const std::filesystem::path& path);

} // namespace lexorant
