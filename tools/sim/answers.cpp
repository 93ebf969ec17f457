#include "tools/sim/answers.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace lexorant::sim {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendHex(std::string& out, unsigned value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xFu];
}

std::uint8_t Sum(const std::uint8_t* bytes, std::size_t n) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum);
}

std::string Encode(const std::uint8_t* bytes, std::size_t n, std::uint8_t checksum) {
    std::string answer;
    answer.reserve(2 * n + 4);
    for (std::size_t i = 0; i < n; ++i)
        AppendHex(answer, bytes[i], 2);
    AppendHex(answer, checksum, 2);
    answer += kLineEnd;
    return answer;
}

// "GI 24000078\r\n": AnswerLength and InfoType in two digits each, EntryCount in four.
std::string HeaderAnswer(char letter, const InfoHeader& header) {
    std::string answer{letter, 'I', ' '};
    AppendHex(answer, header.AnswerLength & 0xFFu, 2);
    AppendHex(answer, header.InfoType & 0xFFu, 2);
    AppendHex(answer, header.EntryCount, 4);
    answer += kLineEnd;
    return answer;
}

struct EntryRequest {
    char letter;
    std::size_t index;
};

// "GI@ 12\r\n": block letter, "I@ ", the index in plain decimal.
std::optional<EntryRequest> ParseEntryRequest(std::string_view line) {
    if (line.size() < 7 || (line[0] != 'G' && line[0] != 'X') || line.substr(1, 3) != "I@ " ||
        !line.ends_with(kLineEnd))
        return std::nullopt;
    const std::string_view digits = line.substr(4, line.size() - 6);
    EntryRequest request{line[0], 0};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), request.index);
    if (error != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return request;
}

const EntryFault* FindFault(const Behaviour& behaviour, const EntryRequest& request) {
    const auto found =
        std::find_if(behaviour.faults.begin(), behaviour.faults.end(), [&](const EntryFault& f) {
            return f.letter == request.letter && f.index == request.index;
        });
    return found == behaviour.faults.end() ? nullptr : &*found;
}

std::optional<std::string> EntryAnswer(const SimUnit& unit, const Behaviour& behaviour,
                                       const EntryRequest& request) {
    const auto bytes = EntryBytes(unit, request.letter, request.index);
    if (!bytes)
        return std::nullopt;
    const EntryFault* fault = FindFault(behaviour, request);
    const std::uint8_t sum = Sum(bytes->data(), bytes->size());
    std::string answer = Encode(bytes->data(), bytes->size(), sum);
    if (!fault)
        return answer;
    // In the middle of the data, or on the checksum when there is no data.
    const std::size_t middle = bytes->size();
    switch (fault->kind) {
    case FaultKind::WrongChecksum:
        return Encode(bytes->data(), bytes->size(), static_cast<std::uint8_t>(sum + 1));
    case FaultKind::MissingCharacter:
        answer.erase(middle, 1);
        return answer;
    case FaultKind::ZeroByte:
        answer[middle] = '\0';
        return answer;
    case FaultKind::LowerCaseHex:
        std::transform(answer.begin(), answer.end(), answer.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        return answer;
    case FaultKind::NoAnswer:
        return std::nullopt;
    }
    return answer;
}

std::optional<std::string> TrueAnswer(const SimUnit& unit, const Behaviour& behaviour,
                                      std::string_view line) {
    if (line == "SN?\r\n")
        return "SN " + unit.serial + std::string(kLineEnd);
    if (line == "GI?\r\n")
        return HeaderAnswer('G', unit.store.GInfo);
    if (line == "XI?\r\n")
        return HeaderAnswer('X', unit.store.XInfo);
    if (const auto request = ParseEntryRequest(line))
        return EntryAnswer(unit, behaviour, *request);
    return std::nullopt;
}

// Printable, never hex, never a line end: fails every check the program makes.
std::string Junk(std::size_t length) {
    static constexpr std::string_view kJunk = "#*?~%&!";
    std::string junk(length, ' ');
    for (std::size_t i = 0; i < length; ++i)
        junk[i] = kJunk[i % kJunk.size()];
    return junk;
}

} // namespace

std::string EncodeEntryAnswer(const std::uint8_t* bytes, std::size_t n) {
    return Encode(bytes, n, Sum(bytes, n));
}

std::optional<std::string> AnswerRequest(const SimUnit& unit, const Behaviour& behaviour,
                                         std::string_view line) {
    auto answer = TrueAnswer(unit, behaviour, line);
    if (answer && behaviour.garbage)
        return Junk(answer->size());
    return answer;
}

} // namespace lexorant::sim
