#include "platform/temporary_file.h"
#include "platform/this_process.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <string_view>
#include <system_error>
#include <vector>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kStart = ".lexorant-";
constexpr std::string_view kEnd = ".tmp";
// A temporary is written and renamed within seconds; one of the names without a host that is this
// old was left by a writer that died.
constexpr auto kOldNameAge = std::chrono::hours(24);

// Letters, digits and dots: no '-' (which ends the host in the name) and nothing a folder cannot hold.
std::string HostForName() {
    std::string host = ThisHost();
    for (char& c : host)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'))
            c = '_';
    return host.empty() ? std::string("_") : host;
}

bool IsNumber(std::string_view text, long* value = nullptr) {
    long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return false;
    if (value)
        *value = v;
    return true;
}

struct Writer {
    std::string host; // empty: a name of the older form, without one
    long pid = 0;
};

// ".lexorant-<host>-<pid>-<n>-<salt>.tmp" or ".lexorant-<pid>-<n>-<salt>.tmp".
std::optional<Writer> WriterOf(std::string_view name) {
    if (!name.starts_with(kStart) || !name.ends_with(kEnd))
        return std::nullopt;
    name = name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
    std::vector<std::string_view> parts;
    for (std::size_t dash; (dash = name.find('-')) != std::string_view::npos; name.remove_prefix(dash + 1))
        parts.push_back(name.substr(0, dash));
    parts.push_back(name);
    Writer writer;
    if (parts.size() == 4 && !parts[0].empty() && IsNumber(parts[1], &writer.pid) && IsNumber(parts[2]) &&
        IsNumber(parts[3]))
        writer.host = std::string(parts[0]);
    else if (!(parts.size() == 3 && IsNumber(parts[0], &writer.pid) && IsNumber(parts[1]) &&
               IsNumber(parts[2])))
        return std::nullopt;
    return writer;
}

} // namespace

std::string TemporaryNamePrefix(long pid) {
    return std::string(kStart) + HostForName() + "-" + std::to_string(pid) + "-";
}

void RemoveStaleTemporaries(const fs::path& folder) {
    // Housekeeping: nothing in it may stop the write that runs it.
    try {
        std::error_code ec;
        const std::string host = HostForName();
        const auto now = fs::file_time_type::clock::now();
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            // Only names of plain characters are the program's: on Windows a name outside the code page
            // cannot even be had as a narrow text (and throws), and is no temporary of ours.
            const std::u8string utf8 = it->path().filename().u8string();
            if (!std::all_of(utf8.begin(), utf8.end(), [](char8_t c) { return c < 0x80; }))
                continue;
            const auto writer = WriterOf(std::string(utf8.begin(), utf8.end()));
            std::error_code entryError;
            if (!writer || !it->is_regular_file(entryError))
                continue;
            const bool stale = writer->host.empty()
                                   ? now - it->last_write_time(entryError) > kOldNameAge && !entryError
                                   : writer->host == host && ProcessIsGone(writer->pid);
            if (stale)
                fs::remove(it->path(), entryError);
        }
    } catch (...) {
    }
}

} // namespace lexorant
