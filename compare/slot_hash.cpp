#include "compare/slot_hash.h"

#include <cstring>

namespace lexorant {

namespace {

// The final mix of MurmurHash3: every input bit reaches every output bit.
std::uint64_t Mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ull;
    x ^= x >> 33;
    return x;
}

} // namespace

std::uint64_t SlotHash(const std::uint8_t* bytes, std::size_t size) {
    // Eight bytes at a time: both slot sizes (16 and 96) are multiples of eight.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        h = Mix(h ^ word);
    }
    if (i < size) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + i, size - i);
        h = Mix(h ^ word ^ 0x100);
    }
    return h;
}

bool IsZeroSlot(const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

} // namespace lexorant
