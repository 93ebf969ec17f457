#include "dataset/export_read_out.h"

#include "dataset/dataset_names.h"
#include "dataset/gzip_file.h"
#include "dataset/read_out_tables.h"
#include "file/read_out_file.h"
#include "platform/regular_file.h"

#include <system_error>
#include <vector>
#include <zlib.h>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

bool WriteTable(const fs::path& target, const std::function<bool(GzipFile&)>& fill, std::string& error) {
    std::error_code made;
    fs::create_directories(target.parent_path(), made);
    GzipFile file(target);
    if (!fill(file) || !file.Commit()) {
        error = file.Error().empty() ? "cannot write " + target.string() : file.Error();
        return false;
    }
    return true;
}

bool RemoveIfThere(const fs::path& path) {
    std::error_code error;
    fs::remove(path, error);
    return !error;
}

} // namespace

std::optional<std::uint32_t> HashOfFile(const fs::path& path) {
    RegularFileReader file(path);
    if (!file.IsOpen())
        return std::nullopt;
    std::vector<std::uint8_t> buffer(1 << 20);
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        std::size_t got = 0;
        if (!file.ReadUpTo(buffer.data(), buffer.size(), got))
            return std::nullopt;
        if (got == 0)
            return static_cast<std::uint32_t>(crc);
        crc = crc32(crc, buffer.data(), static_cast<uInt>(got));
    }
}

bool RemoveTables(const fs::path& dir, const ManifestEntry& entry) {
    bool removed = RemoveIfThere(ReadOutTablePath(dir, entry.stem));
    removed = RemoveIfThere(BlockTablePath(dir, kGInfoTable, entry.serial, entry.stem)) && removed;
    removed = RemoveIfThere(BlockTablePath(dir, kXInfoTable, entry.serial, entry.stem)) && removed;
    return removed;
}

ReadOutExport ExportReadOut(const fs::path& dir, const SourceFile& source,
                            const std::optional<ManifestEntry>& before) {
    ReadOutExport result;
    const auto hash = HashOfFile(source.given);
    if (!hash) {
        result.outcome = ExportOutcome::Unreadable;
        return result;
    }
    if (before && before->size == source.size && before->hash == *hash) {
        result.outcome = ExportOutcome::Unchanged;
        result.entry = *before;
        result.entry.modified = source.modified;
        return result;
    }
    const std::optional<ReadOutData> data = LoadReadOut(source.given);
    if (!data) {
        result.outcome = ExportOutcome::Unreadable;
        return result;
    }
    ManifestEntry& entry = result.entry;
    entry.size = source.size;
    entry.modified = source.modified;
    entry.hash = *hash;
    entry.serial = data->serial;
    entry.stem = ReadOutStem(source.key);
    entry.readOut = source.given;
    entry.gTable = data->in.Count(InfoBlock::GInfo) > 0;
    entry.xTable = data->in.Count(InfoBlock::XInfo) > 0;

    // A block without an entry in has no file: an engine may not take a file of a header alone.
    const std::pair<InfoBlock, const char*> blocks[] = {{InfoBlock::GInfo, kGInfoTable},
                                                        {InfoBlock::XInfo, kXInfoTable}};
    for (const auto& [block, table] : blocks) {
        const fs::path target = BlockTablePath(dir, table, entry.serial, entry.stem);
        if (data->in.Count(block) == 0) {
            if (!RemoveIfThere(target)) {
                result.error = "cannot remove " + target.string();
                return result;
            }
            continue;
        }
        const auto fill = [&](GzipFile& file) {
            return WriteBlockTable(*data, block, source.given,
                                   [&](std::string_view piece) { return file.Write(piece); });
        };
        if (!WriteTable(target, fill, result.error))
            return result;
    }
    // Last, so that a read-out's row is there only once its entries are.
    const auto fill = [&](GzipFile& file) { return file.Write(ReadOutTable(*data, source.given)); };
    if (!WriteTable(ReadOutTablePath(dir, entry.stem), fill, result.error))
        return result;
    if (before && before->serial != entry.serial) {
        for (const char* table : {kGInfoTable, kXInfoTable})
            RemoveIfThere(BlockTablePath(dir, table, before->serial, before->stem));
    }
    result.outcome = ExportOutcome::Written;
    return result;
}

} // namespace lexorant
