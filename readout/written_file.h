#pragma once
// What writing a read-out's ".inf" file came to, and who writes it at the end of a read.
#include <functional>
#include <string>

namespace lexorant {

struct RecordStore;

struct WrittenFile {
    std::string name;  // the file written, or the one that could not be
    std::string error; // the text to show, empty on success
};

// Writes the file at the end of a read.
using FileWriter = std::function<WrittenFile(const RecordStore&)>;

} // namespace lexorant
