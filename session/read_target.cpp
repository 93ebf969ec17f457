#include "session/read_target.h"

#include "file/autosave_file.h"
#include "file/file_naming.h"
#include "file/info_file.h"

namespace lexorant {

ReadTarget NamedTarget(const std::string& fileName) {
    return {fileName, InfoFileWriter(fileName)};
}

ReadTarget AutosaveTarget(const std::string& serial) {
    const int number = FirstFreeAutosaveNumber(serial);
    return {AutosaveCandidate(serial, number), AutosaveInfoFileWriter(serial, number)};
}

} // namespace lexorant
