#include "platform/write_stream.h"

#include <cerrno>
#include <cstring>

namespace lexorant {

// A pipe's server end does not block the opening client on Windows: the plain open is enough.
std::FILE* OpenWriteStream(const std::filesystem::path& path, std::string& error) {
    std::FILE* out = ::_wfopen(path.c_str(), L"w");
    if (!out)
        error = std::strerror(errno);
    return out;
}

} // namespace lexorant
