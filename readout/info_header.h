#pragma once
#include <cstdint>

namespace lexorant {

// The three values with which the controller announces one block ("GI?" or "XI?").
struct InfoHeader {
    std::uint16_t AnswerLength = 0; // characters of every entry answer, final CR LF included
    std::uint16_t InfoType = 0;     // layout variant of the block's entries
    std::uint16_t EntryCount = 0;   // entries in the block, numbered from 0

    friend bool operator==(const InfoHeader&, const InfoHeader&) = default;
};

} // namespace lexorant
