#pragma once
// The controller's wire format: request texts, answer checks and hex decoding.
// Pure functions over bytes; the sequencing lives in link/identification.h and link/read_loop.h.
#include "readout/info_header.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lexorant {

enum class EntryOutcome { Good, ChecksumError, Incomplete };

inline constexpr std::string_view kFlushRequest = "\r\n";
inline constexpr std::string_view kSerialRequest = "SN?\r\n";
inline constexpr std::string_view kGInfoHeaderRequest = "GI?\r\n";
inline constexpr std::string_view kXInfoHeaderRequest = "XI?\r\n";
inline constexpr std::size_t kSerialAnswerLimit = 254;
inline constexpr std::size_t kHeaderAnswerLimit = 13;

// A numeric field as the controller's answers carry it: leading white space, an optional sign,
// an optional 0x prefix, then hex digits up to the first other character; no digit gives 0.
// The caller cuts the result to the width it needs.
std::int64_t HexField(std::string_view field);

// The bytes received up to, not including, the first zero byte.
std::string_view ReceivedText(std::string_view received);

// "GI@ 0\r\n", "XI@ 12\r\n", ...
std::string EntryRequest(char letter, int index);

bool CheckEntryAnswer(std::string_view text, std::size_t answerLength);
std::uint8_t ReceivedChecksum(std::string_view text, std::size_t n);

// Converts the data pairs of an n-character answer and returns their 8-bit sum. Every pair
// counts in the sum; only the first slotSize bytes are stored, so a longer answer never
// writes past the slot.
std::uint8_t DecodeEntry(std::string_view text, std::size_t n, std::uint8_t* slot, std::size_t slotSize);

// Checks and decodes one entry answer into its slot; a failed entry leaves the slot all zero.
// Answers shorter than four characters carry no checksum and count as incomplete.
EntryOutcome EvaluateEntryAnswer(std::string_view received, std::size_t answerLength, std::uint8_t* slot,
                                 std::size_t slotSize);

std::string EntryFailureText(EntryOutcome outcome, char letter, int index);

// The serial number of an accepted "SN?" answer (case-blind "SN " prefix, final CR LF).
std::optional<std::string> ParseSerialAnswer(std::string_view received);

// The header of an accepted "GI?" or "XI?" answer; fields beyond the received text read as 0.
std::optional<InfoHeader> ParseHeaderAnswer(std::string_view received, char letter);

// Why the bytes of an identification answer were not accepted, as far as they tell.
enum class AnswerFault {
    None,        // accepted
    Empty,       // nothing arrived
    NotAnAnswer, // bytes no controller sends, or nothing shaped like an answer: another bit rate
    NoLineEnd,   // the right prefix, but no final CR LF
    WrongPrefix, // a line, or another request's answer ("SN 4711"), without the prefix
};
// prefix: "SN ", "GI " or "XI ". None exactly when the answer's parser accepts it.
AnswerFault ClassifyAnswer(std::string_view received, std::string_view prefix);

} // namespace lexorant
