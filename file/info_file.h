#pragma once
// Writing a read-out to its ".inf" file and loading one back.
#include "file/info_file_format.h"
#include "file/write_failure.h"
#include "readout/record_store.h"
#include "readout/written_file.h"

#include <string>

namespace lexorant {

// Writes the read-out; returns "" on success, otherwise "Unable to write file " + fileName.
// fileName is the name as the user sees it (Windows form "O:\..." or a POSIX path). A failure at any
// point (open, write, flush, close) is reported and leaves an earlier file of that name unchanged.
std::string WriteInfoFile(const RecordStore& store, const std::string& fileName);

// The end of a read into a file the user named: WriteInfoFile, replacing what is there.
FileWriter InfoFileWriter(const std::string& fileName);

// False when the file cannot be opened or read (store untouched). Otherwise the store is replaced:
// a short file, even one shorter than its header, reads as if its missing bytes were zero.
bool LoadInfoFile(const std::string& fileName, RecordStore& store);

// LoadInfoFile, and whether the file held all that its header announces.
struct InfoFileLoad {
    bool readable = false;  // false: store untouched
    bool shortened = false; // the file ends before the blocks its header announces
};
InfoFileLoad LoadInfoFileNotingDamage(const std::string& fileName, RecordStore& store);

} // namespace lexorant
