#pragma once
// Where the ".inf" file of a read goes: the name it is known by while it runs, and who writes it at
// the end (an autosave claims its number only then).
#include "readout/written_file.h"

#include <string>

namespace lexorant {

struct ReadTarget {
    std::string name;
    FileWriter write;
};

// The file the user named (the save dialog, --output).
ReadTarget NamedTarget(const std::string& fileName);
// "O:\geraete\Lexorant\<serial>_NN.inf" with the first free number now, the next free one should
// another writer take it meanwhile.
ReadTarget AutosaveTarget(const std::string& serial);

} // namespace lexorant
