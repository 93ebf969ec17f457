#include "file/read_out_file.h"

#include "file/file_naming.h"
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "platform/dos_devices.h"

namespace lexorant {

std::optional<ReadOutData> LoadReadOut(const std::string& fileName) {
    ReadOutData data;
    data.name = fileName;
    data.source = fileName;
    data.origin = ReadOutOrigin::File;
    const auto path = ResolveWindowsPath(fileName);
    if (path && IsKeptReadOutFile(*path)) {
        auto kept = LoadKeptReadOut(*path);
        if (!kept)
            return std::nullopt;
        data.store = std::move(kept->store);
        data.in = std::move(kept->in);
        data.serial = std::move(kept->serial);
        data.partial = true;
        return data;
    }
    const InfoFileLoad load = LoadInfoFileNotingDamage(fileName, data.store);
    if (!load.readable)
        return std::nullopt;
    // Every entry is in, as the grids show them: a short file's missing bytes read as zero.
    data.in = EntrySet::All(data.store.GInfo, data.store.XInfo);
    data.serial = SerialOfFileName(fileName);
    data.damaged = load.shortened;
    return data;
}

} // namespace lexorant
