#pragma once
// Where the ".inf" file of a read goes: the name it is known by while it runs, and who writes it at
// the end (an autosave claims its number only then).
#include "readout/written_file.h"

#include <string>

namespace lexorant {

struct ReadTarget {
    std::string name;
    FileWriter write;
    bool numbered = false; // an autosave name: whichever number the file gets, it is the read's file
};

// The file the user named (the save dialog, --output).
ReadTarget NamedTarget(const std::string& fileName);
// "O:\geraete\Lexorant\<serial>_NN.inf" with the first free number now, the next free one should
// another writer take it meanwhile.
ReadTarget AutosaveTarget(const std::string& serial);

// A read whose file was written already (under writtenTo) by a run that stopped before it could
// remove its kept read-out: when that file still holds exactly this read-out, and is the target's
// own (the same name, or any for an autosave), it is the result and nothing is written again.
ReadTarget WrittenBefore(ReadTarget target, const std::string& writtenTo);

// "The file NAME would write over the kept read-out of a read that stopped: choose another name";
// nothing when the target is free of one.
std::string KeptReadOutTargetText(const ReadTarget& target);

} // namespace lexorant
