#pragma once
// What a dataset folder was exported from: one line per read-out with the source's path, size,
// modification time and a hash of its bytes, and where its tables lie. Saved whole through a temporary,
// so that it only ever names tables that are complete.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace lexorant {

struct ManifestEntry {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds of the file clock
    std::uint32_t hash = 0;    // CRC-32 of the bytes
    std::string serial;        // the partition's serial ("" for unknown)
    std::string stem;          // the tables' file name without ".csv.gz"
    bool gTable = false;       // whether the read-out has a G-Info table file (entries in)
    bool xTable = false;
    std::string readOut; // the path as given, the read_out column

    friend bool operator==(const ManifestEntry&, const ManifestEntry&) = default;
};

// Keyed by the source's absolute path.
using Manifest = std::map<std::string, ManifestEntry>;

inline constexpr const char* kManifestName = "manifest.tsv";

// Nothing when the file is there but cannot be read or is no manifest; empty when there is none.
std::optional<Manifest> LoadManifest(const std::filesystem::path& dir);
bool SaveManifest(const std::filesystem::path& dir, const Manifest& manifest);

} // namespace lexorant
