#pragma once
// A fast 64-bit hash of an entry slot's bytes, for finding equal slots among tens of thousands.
#include <cstddef>
#include <cstdint>

namespace lexorant {

// Equal bytes give equal hashes within one run of the program; unequal bytes rarely do, so a match
// must still be confirmed by comparing the bytes.
std::uint64_t SlotHash(const std::uint8_t* bytes, std::size_t size);

// True when every byte is zero: an unused slot, or an entry whose answer was rejected.
bool IsZeroSlot(const std::uint8_t* bytes, std::size_t size);

} // namespace lexorant
