#pragma once
// The controller's message codes and their German texts (UTF-8; every text fits Windows-1252).
#include <array>
#include <cstddef>
#include <cstdint>

namespace lexorant {

struct MessageEntry {
    std::int16_t Code;
    const char* Text;
};

inline constexpr std::size_t kMessageCount = 847;

// Ordered by falling code, from -1 down to -20001; every code once.
extern const std::array<MessageEntry, kMessageCount> MessageCatalogue;

// The catalogue's text for a code, or null when the catalogue does not hold the code. Every look-up of a
// code goes through here.
const char* CatalogueText(std::int16_t code);

} // namespace lexorant
