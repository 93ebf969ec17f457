#pragma once
// An archive of read-outs laid out as a dataset that analytics engines read: a table per block and
// one of the read-outs, partitioned by serial, gzip-compressed CSV. Incremental (a manifest of what was
// exported from what), safe against a kill (every file renamed into place whole) and against a second
// export into the same folder (a lock), several read-outs at a time.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lexorant {

struct DatasetExportOptions {
    std::filesystem::path output;
    unsigned jobs = 1;  // read-outs at a time, each in one worker's memory
    bool prune = false; // remove the tables of read-outs no longer among the inputs or gone
};

struct ExportProgress {
    std::size_t done = 0, total = 0;             // read-outs to export this run
    std::uint64_t bytesDone = 0, bytesTotal = 0; // of their ".inf" bytes
};

struct DatasetExportResult {
    std::string failure;                 // the output could not be used or written: nothing else holds
    std::vector<std::string> unreadable; // inputs skipped, as given
    std::size_t written = 0, unchanged = 0, removed = 0;
};

// `files` as lexorant-cli's folder walk gives them. `progress` is called from the workers, one at a time.
DatasetExportResult ExportDataset(const std::vector<std::string>& files, const DatasetExportOptions& options,
                                  const std::function<void(const ExportProgress&)>& progress = {});

} // namespace lexorant
