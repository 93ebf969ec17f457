#include "session/read_target.h"

#include "file/autosave_file.h"
#include "file/bounded_read.h"
#include "file/file_naming.h"
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "platform/dos_devices.h"
#include "platform/regular_file.h"

#include <utility>
#include <vector>

namespace lexorant {

namespace {

bool HoldsExactly(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    const auto path = ResolveWindowsPath(fileName);
    if (!path)
        return false;
    RegularFileReader file(*path);
    std::vector<std::uint8_t> held;
    return file.IsOpen() && ReadOnUpTo(file, bytes.size() + 1, held) && held == bytes;
}

} // namespace

ReadTarget NamedTarget(const std::string& fileName) {
    return {fileName, InfoFileWriter(fileName)};
}

ReadTarget AutosaveTarget(const std::string& serial) {
    const int number = FirstFreeAutosaveNumber(serial);
    return {AutosaveCandidate(serial, number), AutosaveInfoFileWriter(serial, number), true};
}

ReadTarget WrittenBefore(ReadTarget target, const std::string& writtenTo) {
    if (!target.numbered && writtenTo != target.name)
        return target;
    target.write = [write = std::move(target.write), writtenTo](const RecordStore& store) {
        if (HoldsExactly(writtenTo, EncodeInfoFile(store)))
            return WrittenFile{writtenTo, ""};
        return write(store);
    };
    return target;
}

std::string KeptReadOutTargetText(const ReadTarget& target) {
    const auto path = ResolveWindowsPath(target.name);
    if (!path || !LeadsToKeptReadOut(*path))
        return {};
    return "The file " + target.name +
           " would write over the kept read-out of a read that stopped: choose another name";
}

} // namespace lexorant
