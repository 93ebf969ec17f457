#include "file/info_file.h"

#include "platform/dos_devices.h"
#include "platform/regular_file.h"
#include "file/replace_file.h"

#include <algorithm>

namespace lexorant {

std::string WriteInfoFile(const RecordStore& store, const std::string& fileName) {
    const auto path = ResolveWindowsPath(fileName);
    if (path && WriteWholeFile(*path, EncodeInfoFile(store)))
        return "";
    return WriteFailureText(fileName);
}

std::string WriteFailureText(const std::string& fileName) { return "Unable to write file " + fileName; }

FileWriter InfoFileWriter(const std::string& fileName) {
    return [fileName](const RecordStore& store) { return WrittenFile{fileName, WriteInfoFile(store, fileName)}; };
}

namespace {

// Only the bytes that the header describes are read (at most about 7 MB), however large the file.
// The buffer grows with what arrives, so a short file costs in proportion to its bytes, not to the
// counts its header claims.
bool ReadInfoBytes(RegularFileReader& file, std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kChunk = 64 * 1024;
    bytes.assign(kInfoFileHeaderSize, 0);
    std::size_t got = 0;
    if (!file.ReadUpTo(bytes.data(), bytes.size(), got))
        return false;
    std::size_t wanted = got;
    if (got == kInfoFileHeaderSize) {
        InfoHeader g, x;
        DecodeInfoHeaders(bytes, g, x);
        wanted = InfoFileSize(g, x);
    }
    while (got < wanted && got == bytes.size()) {
        bytes.resize(std::min(wanted, got + kChunk));
        std::size_t more = 0;
        if (!file.ReadUpTo(bytes.data() + got, bytes.size() - got, more))
            return false;
        got += more;
    }
    bytes.resize(got);
    return true;
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
    load.shortened = bytes.size() < kInfoFileHeaderSize || bytes.size() < InfoFileSize(store.GInfo, store.XInfo);
    return load;
}

} // namespace lexorant
