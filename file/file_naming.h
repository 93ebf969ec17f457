#pragma once
// The name of the ".inf" file of a read, formed from the unit's serial number.
#include <cstddef>
#include <string>
#include <string_view>

namespace lexorant {

// True when one of the arguments 1..argc-1, lower-cased, is "-autosave" or "/autosave".
bool IsAutosaveSwitch(int argc, const char* const* argv);

inline constexpr const char* kAutosaveFolder = "O:\\geraete\\Lexorant";

// The serial as one file-name component, the one rule for every file named after a unit (the ".inf"
// read-outs and the kept read-outs): path separators, control characters and the characters Windows
// forbids in names become "_", "." / ".." become "_" / "__", and a name Windows takes for a device
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, any case) gets a leading "_". A serial so changed, an empty one
// and one longer than kLongestSerialPart keep at most that many characters and add "~" and eight hex
// digits of a hash of the whole serial, so that two serials never share a name. The serial comes from
// the device, and must not lead the file out of its folder nor into a device.
inline constexpr std::size_t kLongestSerialPart = 64;
std::string FileNameSafeSerial(const std::string& serial);

// The name the save dialog proposes: serial + ".inf", made safe.
std::string ProposedFileName(const std::string& serial);

// The autosave name with number k: "<folder>\<serial>_<kk>.inf", at least two digits (07, 99, 100).
std::string AutosaveCandidate(const std::string& serial, int number);

// The last component of a path, after its last "/" or "\\" (a Windows name has either).
std::string NameWithoutFolder(std::string_view fileName);

// The unit's serial number as a read-out's file name gives it, "" when the name says nothing. Only the
// last component of the path counts, and only with the suffix ".inf" (any case):
// - "<serial>_<kk>.inf", two or more digits after the "_": the autosave name; whatever stands before
//   the "_" is the serial (at least one character);
// - "<serial>.inf", the name the save dialog proposes: only when the stem looks like what units
//   answer (1 to 32 characters of A-Z, 0-9 and "-", beginning with a letter or digit and holding at
//   least one digit, as "4711-0815" or "LX-12345"). A name the user chose ("readout.inf",
//   "Kunde Meier.inf", "test.inf") says nothing.
// A serial that FileNameSafeSerial had to change comes back in its changed form.
std::string SerialOfFileName(std::string_view fileName);

// Autosave never overwrites: past 99 it counts on, up to this number, and reports a failure beyond.
inline constexpr int kLastAutosaveNumber = 9999;

// The first number (1, 2, ...) under which nothing exists; 1 when the drive cannot be reached.
int FirstFreeAutosaveNumber(const std::string& serial);

} // namespace lexorant
