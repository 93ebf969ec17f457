#pragma once
// The name of the ".inf" file of a read, formed from the unit's serial number.
#include <string>
#include <string_view>

namespace lexorant {

// True when one of the arguments 1..argc-1, lower-cased, is "-autosave" or "/autosave".
bool IsAutosaveSwitch(int argc, const char* const* argv);

inline constexpr const char* kAutosaveFolder = "O:\\geraete\\Lexorant";

// The serial as one file-name component: path separators, control characters and the characters
// Windows forbids in names become "_", and "." / ".." become "_" / "__". The serial comes from the
// device, and must not lead the file out of its folder.
std::string FileNameSafeSerial(const std::string& serial);

// The name the save dialog proposes: serial + ".inf", made safe.
std::string ProposedFileName(const std::string& serial);

// The autosave name with number k: "<folder>\<serial>_<kk>.inf", at least two digits (07, 99, 100).
std::string AutosaveCandidate(const std::string& serial, int number);

// The last component of a path, after its last "/" or "\\" (a Windows name has either).
std::string NameWithoutFolder(std::string_view fileName);

// The serial of an autosave file name "<serial>_<kk>.inf" (the last component of a path, two or more
// digits, any case of ".inf"), or "" for any other name.
std::string SerialOfAutosaveName(const std::string& fileName);

// Autosave never overwrites: past 99 it counts on, up to this number, and reports a failure beyond.
inline constexpr int kLastAutosaveNumber = 9999;

// The first number (1, 2, ...) under which nothing exists; 1 when the drive cannot be reached.
int FirstFreeAutosaveNumber(const std::string& serial);

} // namespace lexorant
