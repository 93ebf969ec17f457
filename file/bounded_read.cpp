#include "file/bounded_read.h"

#include <algorithm>

namespace lexorant {

bool ReadOnUpTo(RegularFileReader& file, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kChunk = 256 * 1024;
    while (bytes.size() < limit) {
        const std::size_t before = bytes.size();
        const std::size_t wanted = std::min(kChunk, limit - before);
        bytes.resize(before + wanted);
        std::size_t got = 0;
        if (!file.ReadUpTo(bytes.data() + before, wanted, got))
            return false;
        bytes.resize(before + got);
        if (got < wanted)
            break; // the end of the file
    }
    return true;
}

} // namespace lexorant
