#pragma once
// What a simulated controller serves: its serial number and both logs.
#include "readout/record_store.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lexorant::sim {

struct SimUnit {
    std::string serial = "4711-0815";
    RecordStore store;
};

struct GenerateOptions {
    std::string serial = "4711-0815";
    std::uint16_t gCount = 120;
    std::uint16_t xCount = 40;
    std::uint16_t xType = 3; // 1, 2 or 3: the layout of the X-Info tail
    std::uint32_t seed = 1;
};

// A plausible unit: G-Info AnswerLength 36 and type 0, X-Info AnswerLength 196 and the chosen
// type; entries logged in ascending time. The same options always give the same bytes.
SimUnit GenerateUnit(const GenerateOptions& options);

// A block whose AnswerLength announces more data than a slot holds gets this byte beyond the slot.
inline constexpr std::uint8_t kFillerByte = 0xEE;

// The data bytes of one entry's answer, (AnswerLength - 4) / 2 of them (none below 4), taken
// from its slot; nothing when the block has no such entry.
std::optional<std::vector<std::uint8_t>> EntryBytes(const SimUnit& unit, char letter, std::size_t index);

} // namespace lexorant::sim
