#include "file/read_out_file.h"

#include "file/file_naming.h"
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "platform/dos_devices.h"

namespace lexorant {

ReadOutFile LoadReadOutFile(const std::string& fileName, RecordStore& store) {
    ReadOutFile file;
    const auto path = ResolveWindowsPath(fileName);
    if (path && IsKeptReadOutFile(*path)) {
        auto kept = LoadKeptReadOut(*path);
        if (!kept)
            return file;
        file.readable = true;
        file.partial = true;
        file.serial = std::move(kept->serial);
        file.in = std::move(kept->in);
        store = std::move(kept->store);
        return file;
    }
    const InfoFileLoad load = LoadInfoFileNotingDamage(fileName, store);
    file.readable = load.readable;
    if (!load.readable)
        return file;
    file.shortened = load.shortened;
    // Every entry is in, as the grids show them: a short file's missing bytes read as zero.
    file.in = EntrySet::All(store.GInfo, store.XInfo);
    return file;
}

std::optional<ReadOutData> LoadReadOut(const std::string& fileName) {
    ReadOutData data;
    ReadOutFile file = LoadReadOutFile(fileName, data.store);
    if (!file.readable)
        return std::nullopt;
    data.in = std::move(file.in);
    data.serial = file.partial ? file.serial : SerialOfAutosaveName(fileName);
    data.name = fileName;
    data.source = fileName;
    data.origin = ReadOutOrigin::File;
    data.partial = file.partial;
    data.damaged = file.shortened;
    return data;
}

} // namespace lexorant
