#include "file/autosave_file.h"

#include "file/file_naming.h"
#include "file/info_file.h"
#include "file/info_file_format.h"
#include "file/write_failure.h"
#include "platform/dos_devices.h"
#include "platform/temporary_file.h"

namespace lexorant {

WrittenFile WriteAutosaveInfoFile(const RecordStore& store, const std::string& serial, int firstNumber) {
    std::string name = AutosaveCandidate(serial, firstNumber);
    const auto first = ResolveWindowsPath(name);
    if (!first)
        return {name, WriteFailureText(name)};
    const auto bytes = EncodeInfoFile(store);
    TemporaryFile file(first->parent_path(), bytes);
    if (!file.Ready())
        return {name, WriteFailureText(name)};
    for (int number = firstNumber; number <= kLastAutosaveNumber; ++number) {
        name = AutosaveCandidate(serial, number);
        const auto path = ResolveWindowsPath(name);
        const Claim claim = path ? file.ClaimAs(*path) : Claim::Failed;
        if (claim == Claim::Claimed)
            return {name, ""};
        if (claim == Claim::Failed)
            break;
    }
    return {name, WriteFailureText(name)};
}

FileWriter AutosaveInfoFileWriter(const std::string& serial, int firstNumber) {
    return [serial, firstNumber](const RecordStore& store) {
        return WriteAutosaveInfoFile(store, serial, firstNumber);
    };
}

} // namespace lexorant
