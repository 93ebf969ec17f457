#pragma once
// The controller's side of the line protocol: one answer per complete request line.
#include "tools/sim/behaviour.h"
#include "tools/sim/unit.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lexorant::sim {

// The bytes as upper-case hex pairs, their 8-bit sum as two hex digits, then CR LF.
std::string EncodeEntryAnswer(const std::uint8_t* bytes, std::size_t n);

// The answer to one request line (its CR LF included), with the behaviour's faults and junk
// applied; nothing when the controller stays silent: the flush line, unknown lines, entries
// beyond the block and entries whose fault is no answer. Silence and lateness that depend on
// the course of the conversation are the Simulator's.
std::optional<std::string> AnswerRequest(const SimUnit& unit, const Behaviour& behaviour,
                                         std::string_view line);

} // namespace lexorant::sim
