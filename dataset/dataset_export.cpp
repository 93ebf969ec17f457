#include "dataset/dataset_export.h"

#include "dataset/bounded_queue.h"
#include "dataset/dataset_names.h"
#include "dataset/export_lock.h"
#include "dataset/export_manifest.h"
#include "dataset/export_read_out.h"
#include "dataset/gzip_file.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

// How often a long export saves what it has done, so that a killed one is finished, not redone.
constexpr auto kManifestInterval = std::chrono::seconds(2);

SourceFile Source(const std::string& given) {
    SourceFile source;
    source.given = given;
    std::error_code error;
    source.key = fs::absolute(given, error).lexically_normal().string();
    if (error)
        source.key = given;
    const auto size = fs::file_size(given, error);
    if (!error)
        source.size = size;
    const auto time = fs::last_write_time(given, error);
    if (!error)
        source.modified =
            std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return source;
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error) || error;
}

// Temporaries of a writer that was killed; no engine reads them, but they are nobody's now.
void RemoveStaleTemporaries(const fs::path& dir) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (IsWriterTemporary(it->path()) && it->is_regular_file(ignored))
            fs::remove(it->path(), ignored);
    }
}

// Table files that no manifest entry names (left by a killed run whose source has gone since), and the
// partition folders that are then empty.
std::size_t RemoveUnnamedTables(const fs::path& dir, const Manifest& manifest) {
    std::set<fs::path> named;
    for (const auto& [key, e] : manifest) {
        named.insert(ReadOutTablePath(dir, e.stem));
        named.insert(BlockTablePath(dir, kGInfoTable, e.serial, e.stem));
        named.insert(BlockTablePath(dir, kXInfoTable, e.serial, e.stem));
    }
    std::size_t removed = 0;
    for (const char* table : {kGInfoTable, kXInfoTable, kReadOutsTable}) {
        std::error_code error;
        std::vector<fs::path> folders;
        for (fs::recursive_directory_iterator it(dir / table, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code ignored;
            if (it->is_directory(ignored)) {
                folders.push_back(it->path());
            } else if (it->path().string().ends_with(kTableSuffix) && !named.contains(it->path())) {
                removed += fs::remove(it->path(), ignored) ? 1 : 0;
            }
        }
        for (const fs::path& folder : folders) {
            std::error_code ignored;
            if (fs::is_empty(folder, ignored))
                fs::remove(folder, ignored);
        }
    }
    return removed;
}

class ExportRun {
public:
    ExportRun(const DatasetExportOptions& options, Manifest manifest,
              const std::function<void(const ExportProgress&)>& progress)
        : options_(options), manifest_(std::move(manifest)), progress_(progress),
          lastSave_(std::chrono::steady_clock::now()) {}

    void Run(const std::vector<SourceFile>& jobs, DatasetExportResult& result) {
        for (const SourceFile& s : jobs)
            done_.bytesTotal += s.size;
        done_.total = jobs.size();
        const unsigned workers =
            std::max(1u, std::min<unsigned>(options_.jobs, static_cast<unsigned>(jobs.size())));
        BoundedQueue<const SourceFile*> queue(2 * workers);
        std::vector<std::thread> threads;
        for (unsigned w = 0; w < workers; ++w)
            threads.emplace_back([&] {
                while (const auto job = queue.Pop())
                    if (!stop_.load())
                        Export(**job, result);
            });
        for (const SourceFile& s : jobs)
            queue.Push(&s);
        queue.Close();
        for (std::thread& t : threads)
            t.join();
    }

    Manifest& TheManifest() { return manifest_; }

private:
    void Export(const SourceFile& source, DatasetExportResult& result) {
        std::optional<ManifestEntry> before;
        {
            std::lock_guard lock(mutex_);
            if (const auto it = manifest_.find(source.key); it != manifest_.end())
                before = it->second;
        }
        const ReadOutExport one = ExportReadOut(options_.output, source, before);
        std::lock_guard lock(mutex_);
        switch (one.outcome) {
        case ExportOutcome::Written:
        case ExportOutcome::Unchanged:
            ++(one.outcome == ExportOutcome::Written ? result.written : result.unchanged);
            manifest_[source.key] = one.entry;
            break;
        case ExportOutcome::Unreadable:
            result.unreadable.push_back(source.given);
            break;
        case ExportOutcome::Failed:
            if (result.failure.empty())
                result.failure = one.error;
            stop_ = true;
            break;
        }
        ++done_.done;
        done_.bytesDone += source.size;
        if (progress_)
            progress_(done_);
        if (std::chrono::steady_clock::now() - lastSave_ >= kManifestInterval) {
            if (!SaveManifest(options_.output, manifest_) && result.failure.empty()) {
                result.failure = "cannot write " + (options_.output / kManifestName).string();
                stop_ = true;
            }
            lastSave_ = std::chrono::steady_clock::now();
        }
    }

    const DatasetExportOptions& options_;
    Manifest manifest_;
    const std::function<void(const ExportProgress&)>& progress_;
    std::mutex mutex_;
    ExportProgress done_;
    std::chrono::steady_clock::time_point lastSave_;
    std::atomic<bool> stop_{false};
};

} // namespace

DatasetExportResult ExportDataset(const std::vector<std::string>& files, const DatasetExportOptions& options,
                                  const std::function<void(const ExportProgress&)>& progress) {
    DatasetExportResult result;
    const fs::path& dir = options.output;
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir, error)) {
        result.failure = "cannot create the folder " + dir.string() + (error ? ": " + error.message() : "");
        return result;
    }
    const ExportLock lock(dir);
    if (!lock.Held()) {
        result.failure = lock.Refusal();
        return result;
    }
    auto manifest = LoadManifest(dir);
    if (!manifest) {
        result.failure = (dir / kManifestName).string() + " is no manifest of an export, or cannot be read";
        return result;
    }
    RemoveStaleTemporaries(dir);

    // New and changed read-outs; the rest keep their tables. A path named twice is exported once.
    std::vector<SourceFile> jobs;
    std::set<std::string> inputs;
    for (const std::string& file : files) {
        SourceFile source = Source(file);
        if (!inputs.insert(source.key).second)
            continue;
        const auto it = manifest->find(source.key);
        if (it != manifest->end() && it->second.size == source.size &&
            it->second.modified == source.modified && Exists(ReadOutTablePath(dir, it->second.stem))) {
            ++result.unchanged;
            continue;
        }
        jobs.push_back(std::move(source));
    }

    ExportRun run(options, std::move(*manifest), progress);
    run.Run(jobs, result);
    Manifest& done = run.TheManifest();
    if (options.prune && result.failure.empty()) {
        for (auto it = done.begin(); it != done.end();) {
            if (inputs.contains(it->first) && Exists(it->first)) {
                ++it;
                continue;
            }
            RemoveTables(dir, it->second);
            ++result.removed;
            it = done.erase(it);
        }
        RemoveUnnamedTables(dir, done);
    }
    // Named in the order given, whichever worker came upon them first.
    std::map<std::string, std::size_t> order;
    for (std::size_t i = 0; i < files.size(); ++i)
        order.emplace(files[i], i);
    std::sort(result.unreadable.begin(), result.unreadable.end(),
              [&](const std::string& a, const std::string& b) { return order[a] < order[b]; });
    if (!SaveManifest(dir, done) && result.failure.empty())
        result.failure = "cannot write " + (dir / kManifestName).string();
    return result;
}

} // namespace lexorant
