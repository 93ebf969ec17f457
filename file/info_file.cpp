#include "file/info_file.h"

#include "file/bounded_read.h"
#include "file/replace_file.h"
#include "platform/dos_devices.h"
#include "platform/regular_file.h"

#include <algorithm>

namespace lexorant {

std::string WriteInfoFile(const RecordStore& store, const std::string& fileName) {
    const auto path = ResolveWindowsPath(fileName);
    if (path && WriteWholeFile(*path, EncodeInfoFile(store)))
        return "";
    return WriteFailureText(fileName);
}

FileWriter InfoFileWriter(const std::string& fileName) {
    return [fileName](const RecordStore& store) {
        return WrittenFile{fileName, WriteInfoFile(store, fileName)};
    };
}

namespace {

// Only the bytes that the header describes are read (at most about 7 MB), however large the file.
bool ReadInfoBytes(RegularFileReader& file, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (!ReadOnUpTo(file, kInfoFileHeaderSize, bytes))
        return false;
    if (bytes.size() < kInfoFileHeaderSize)
        return true;
    InfoHeader g, x;
    DecodeInfoHeaders(bytes, g, x);
    return ReadOnUpTo(file, InfoFileSize(g, x), bytes);
}

} // namespace

bool LoadInfoFile(const std::string& fileName, RecordStore& store) {
    return LoadInfoFileNotingDamage(fileName, store).readable;
}

InfoFileLoad LoadInfoFileNotingDamage(const std::string& fileName, RecordStore& store) {
    InfoFileLoad load;
    const auto path = ResolveWindowsPath(fileName);
    if (!path)
        return load;
    // Only a regular file is an info file: a named pipe or a device could keep the loader waiting.
    RegularFileReader file(*path);
    std::vector<std::uint8_t> bytes;
    if (!file.IsOpen() || !ReadInfoBytes(file, bytes))
        return load;
    DecodeInfoFile(bytes, store);
    load.readable = true;
    load.shortened =
        bytes.size() < kInfoFileHeaderSize || bytes.size() < InfoFileSize(store.GInfo, store.XInfo);
    return load;
}

} // namespace lexorant
