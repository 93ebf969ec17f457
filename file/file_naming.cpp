#include "file/file_naming.h"

#include "platform/dos_devices.h"

#include <cctype>
#include <cstdint>
#include <cstring>

namespace lexorant {

bool IsAutosaveSwitch(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (!argv[i])
            continue;
        std::string arg = argv[i];
        for (char& c : arg)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (arg == "-autosave" || arg == "/autosave")
            return true;
    }
    return false;
}

namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Windows opens these as devices whatever follows them ("CON.inf" is the console).
bool IsDeviceName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper)
        c = Upper(c);
    const bool numbered = upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
                          upper[3] >= '1' && upper[3] <= '9';
    return numbered || upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL";
}

} // namespace

namespace {

// Eight hex digits of the serial's FNV-1a hash: what tells apart serials whose readable part is the same.
std::string SerialHash(const std::string& serial) {
    std::uint32_t hash = 2166136261u;
    for (const char c : serial) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = kHex[hash & 0xF];
    return text;
}

} // namespace

std::string FileNameSafeSerial(const std::string& serial) {
    std::string safe = serial;
    if (serial == ".")
        safe = "_";
    else if (serial == "..")
        safe = "__";
    for (char& c : safe) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::strchr("/\\<>:\"|?*", c))
            c = '_';
    }
    if (IsDeviceName(safe))
        safe = "_" + safe;
    // A serial that had to be changed, an empty one and a very long one keep a readable part and add
    // the hash of the whole: "/", "\\" and "_" stay three files, "" no hidden ".inf", and no name grows
    // past what a file system takes.
    if (safe == serial && !serial.empty() && serial.size() <= kLongestSerialPart)
        return safe;
    return safe.substr(0, kLongestSerialPart) + "~" + SerialHash(serial);
}

std::string ProposedFileName(const std::string& serial) {
    return FileNameSafeSerial(serial) + ".inf";
}

namespace {

// Anything under the name, even a write-protected file or a dangling link, makes the name taken:
// the autosave must never overwrite. Any other answer (missing folder, no access) ends the search,
// and the writer then reports that it cannot write there.
bool Taken(const std::string& name) {
    const auto path = ResolveWindowsPath(name);
    std::error_code ec;
    return path && std::filesystem::exists(std::filesystem::symlink_status(*path, ec));
}

} // namespace

std::string AutosaveCandidate(const std::string& serial, int number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 2)
        digits.insert(0, "0");
    return std::string(kAutosaveFolder) + "\\" + FileNameSafeSerial(serial) + "_" + digits + ".inf";
}

int FirstFreeAutosaveNumber(const std::string& serial) {
    int number = 1;
    while (number < kLastAutosaveNumber && Taken(AutosaveCandidate(serial, number)))
        ++number;
    return number;
}

std::string NameWithoutFolder(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
}

namespace {

bool LooksLikeSerial(std::string_view stem) {
    constexpr std::size_t kLongest = 32;
    if (stem.empty() || stem.size() > kLongest || stem.front() == '-')
        return false;
    bool digit = false;
    for (const char c : stem) {
        digit = digit || (c >= '0' && c <= '9');
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    }
    return digit;
}

} // namespace

std::string SerialOfFileName(std::string_view fileName) {
    const std::string name = NameWithoutFolder(fileName);
    constexpr std::size_t kSuffix = 4; // ".inf"
    if (name.size() < kSuffix)
        return {};
    std::string suffix = name.substr(name.size() - kSuffix);
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (suffix != ".inf")
        return {};
    const std::size_t end = name.size() - kSuffix;
    std::size_t digits = end;
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])))
        --digits;
    if (end - digits >= 2 && digits >= 2 && name[digits - 1] == '_')
        return name.substr(0, digits - 1);
    const std::string_view stem = std::string_view(name).substr(0, end);
    return LooksLikeSerial(stem) ? std::string(stem) : std::string();
}

} // namespace lexorant
