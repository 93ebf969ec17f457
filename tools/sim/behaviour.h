#pragma once
// How a simulated controller misbehaves: per-entry faults, silence, lateness, junk, pacing.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace lexorant::sim {

enum class FaultKind {
    WrongChecksum,    // checksum digits one off
    MissingCharacter, // one data character left out: the answer is one short
    ZeroByte,         // a zero byte in place of a data character
    LowerCaseHex,     // hex digits in lower case, still a good answer
    NoAnswer,
};

struct EntryFault {
    char letter = 'G';     // 'G' or 'X'
    std::size_t index = 0; // the entry's number as requested, from 0
    FaultKind kind = FaultKind::WrongChecksum;
};

// "G:2:checksum", "X:0:missing", kinds checksum, missing, zero, lower, none.
std::optional<EntryFault> ParseEntryFault(std::string_view text);

struct Behaviour {
    std::vector<EntryFault> faults;
    // Answers the first K requests (the flush line included), then nothing at all.
    std::optional<std::size_t> stopAfter;
    // With stopAfter: silent for this many requests only, then answering again; 0 for ever.
    std::size_t silentFor = 0;
    // Answers the first K requests, then hangs up at the next one, as when the adapter is pulled.
    std::optional<std::size_t> hangUpAfter;
    // The unit's own bit rate: a request sent at another one is not understood and gets no answer.
    // 0: any rate.
    int lineRate = 0;
    // Waits this long before each answer.
    std::chrono::milliseconds delay{0};
    // Answers every request except the flush with junk of the answer's length.
    bool garbage = false;
    // Sends answers at this many bits per second, ten bits per byte; 0 sends them at once.
    int baud = 0;
};

} // namespace lexorant::sim
