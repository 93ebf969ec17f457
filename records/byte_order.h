#pragma once
// Little-endian field readers for entry slots; byte by byte, so host order and alignment do not matter.
#include <bit>
#include <cstdint>

namespace lexorant::byte_order {

inline std::uint16_t ReadUInt16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::int16_t ReadInt16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(ReadUInt16(p));
}

inline std::int8_t ReadInt8(const std::uint8_t* p) {
    return static_cast<std::int8_t>(p[0]);
}

inline std::uint32_t ReadUInt32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

inline float ReadFloat(const std::uint8_t* p) {
    return std::bit_cast<float>(ReadUInt32(p));
}

} // namespace lexorant::byte_order
