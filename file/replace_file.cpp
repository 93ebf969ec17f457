#include "file/replace_file.h"

#include "platform/file_access.h"
#include "platform/temporary_file.h"

#include <optional>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

bool ReplaceThroughTemporary(const fs::path& target, std::span<const std::uint8_t> bytes,
                             std::optional<unsigned> keepMode) {
    TemporaryFile file(target.parent_path(), bytes, keepMode);
    return file.Ready() && file.ReplaceAs(target);
}

} // namespace

bool WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (fs::exists(st)) {
        // A device (e.g. a link to /dev/full) must stay what it is: replacing it would put a plain
        // file where the link was.
        if (!fs::is_regular_file(st))
            return WriteInPlace(path, bytes, false);
        if (!MayWrite(path))
            return false;
        // Through a symlink, the file it names is replaced, not the link.
        const fs::path real = fs::canonical(path, ec);
        if (ec)
            return false;
        return ReplaceThroughTemporary(real, bytes, static_cast<unsigned>(st.permissions() & fs::perms::mask));
    }
    if (st.type() != fs::file_type::not_found)
        return false; // the name cannot even be looked at (no access)
    if (fs::is_symlink(fs::symlink_status(path, ec)))
        return WriteInPlace(path, bytes, true); // a dangling link: create what it names
    return ReplaceThroughTemporary(path, bytes, std::nullopt);
}

} // namespace lexorant
