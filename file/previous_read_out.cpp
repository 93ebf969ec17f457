#include "file/previous_read_out.h"

#include "file/file_naming.h"
#include "platform/dos_devices.h"

#include <filesystem>
#include <string_view>

namespace lexorant {

namespace {

constexpr std::size_t kSuffix = 4; // ".inf"

// The digits of an autosave name between its last "_" and ".inf".
std::string_view NumberOf(std::string_view name, std::size_t serialLength) {
    return name.substr(serialLength + 1, name.size() - serialLength - 1 - kSuffix);
}

// Numbers of any length, compared without converting them: leading zeros aside, more digits are more.
int CompareNumbers(std::string_view a, std::string_view b) {
    const auto strip = [](std::string_view d) {
        while (d.size() > 1 && d.front() == '0')
            d.remove_prefix(1);
        return d;
    };
    a = strip(a);
    b = strip(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a.compare(b) > 0 ? 1 : 0);
}

// The serial of an autosave name "<serial>_<kk>.inf", or "" for any other name.
std::string AutosaveSerialOf(std::string_view fileName) {
    const std::string name = NameWithoutFolder(fileName);
    std::string serial = SerialOfFileName(name);
    if (serial.empty() || name.size() <= serial.size() + 1 + kSuffix || name[serial.size()] != '_')
        return {};
    for (const char c : NumberOf(name, serial.size()))
        if (c < '0' || c > '9')
            return {};
    return serial;
}

} // namespace

std::optional<std::string> PreviousAutosaveReadOut(const std::string& fileName) {
    const std::string serial = AutosaveSerialOf(fileName);
    if (serial.empty())
        return std::nullopt;
    const std::string name = NameWithoutFolder(fileName);
    const std::string_view number = NumberOf(name, serial.size());
    const auto path = ResolveWindowsPath(fileName);
    if (!path)
        return std::nullopt;
    const std::filesystem::path folder = path->has_parent_path() ? path->parent_path() : ".";

    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec)
        return std::nullopt;
    std::string best;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            return std::nullopt;
        const std::string candidate = it->path().filename().string();
        if (AutosaveSerialOf(candidate) != serial || !it->is_regular_file(ec))
            continue;
        const std::string_view n = NumberOf(candidate, serial.size());
        if (CompareNumbers(n, number) >= 0)
            continue;
        // Of equal numbers ("_07", "_007") the first by name, whatever order the folder lists them in.
        const int order = best.empty() ? 1 : CompareNumbers(n, NumberOf(best, serial.size()));
        if (order > 0 || (order == 0 && candidate < best))
            best = candidate;
    }
    if (best.empty())
        return std::nullopt;
    return fileName.substr(0, fileName.size() - name.size()) + best;
}

} // namespace lexorant
