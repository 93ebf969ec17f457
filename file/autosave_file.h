#pragma once
// The autosave's file on a folder that several laptops write at once.
#include "readout/written_file.h"
#include "readout/record_store.h"

#include <string>

namespace lexorant {

// Writes the read-out under the autosave name with number firstNumber (chosen when the read began)
// or, when another writer has taken that name meanwhile, under the next free number. The file
// appears whole under its name or not at all, and nothing that exists is ever replaced. The result
// names the file written, or the one that could not be written.
WrittenFile WriteAutosaveInfoFile(const RecordStore& store, const std::string& serial, int firstNumber);

FileWriter AutosaveInfoFileWriter(const std::string& serial, int firstNumber);

} // namespace lexorant
