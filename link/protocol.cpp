#include "link/protocol.h"

#include <algorithm>
#include <cstring>

namespace lexorant {

namespace {

// The C-locale classes, fixed: the window program switches to the user's locale, and the line's
// bytes must not change meaning with it.
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Characters first..first+count-1 (counted from 1) of text, as far as the text reaches.
std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    if (first < 1 || first > text.size())
        return {};
    return text.substr(first - 1, count);
}

bool StartsWithUpper(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiUpper(text[i]) != prefix[i])
            return false;
    return true;
}

void ClearSlot(std::uint8_t* slot, std::size_t slotSize) {
    if (slotSize > 0)
        std::memset(slot, 0, slotSize);
}

bool EndsWithLineEnd(std::string_view text) {
    return text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
}

} // namespace

std::int64_t HexField(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && IsSpace(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    if (i + 1 < field.size() && field[i] == '0' && (field[i + 1] == 'x' || field[i + 1] == 'X'))
        i += 2; // "0x" without digits after it gives 0 either way
    std::int64_t value = 0;
    for (; i < field.size(); ++i) {
        const int d = HexDigit(field[i]);
        if (d < 0)
            break;
        // Fields are at most four characters; the clamp only guards against misuse.
        value = std::min<std::int64_t>(value * 16 + d, INT64_C(1) << 40);
    }
    return negative ? -value : value;
}

std::string_view ReceivedText(std::string_view received) {
    const auto zero = received.find('\0');
    return zero == std::string_view::npos ? received : received.substr(0, zero);
}

std::string EntryRequest(char letter, int index) {
    return std::string(1, letter) + "I@ " + std::to_string(index) + "\r\n";
}

bool CheckEntryAnswer(std::string_view text, std::size_t answerLength) {
    return text.size() == answerLength && EndsWithLineEnd(text);
}

std::uint8_t ReceivedChecksum(std::string_view text, std::size_t n) {
    if (n < 3)
        return 0;
    return static_cast<std::uint8_t>(HexField(Characters(text, n - 3, 2)));
}

std::uint8_t DecodeEntry(std::string_view text, std::size_t n, std::uint8_t* slot, std::size_t slotSize) {
    std::uint8_t sum = 0;
    std::size_t stored = 0;
    for (std::size_t i = 1; i + 4 <= n; i += 2) {
        const auto byte = static_cast<std::uint8_t>(HexField(Characters(text, i, 2)));
        // An answer with more pairs than the slot holds is cut to the slot; the surplus pairs
        // still count in the sum, as the controller sums every pair it sends.
        if (stored < slotSize)
            slot[stored++] = byte;
        sum = static_cast<std::uint8_t>(sum + byte);
    }
    return sum;
}

EntryOutcome EvaluateEntryAnswer(std::string_view received, std::size_t answerLength, std::uint8_t* slot,
                                 std::size_t slotSize) {
    const std::string_view text = ReceivedText(received);
    // Below four characters there is no room for the checksum: such an answer cannot prove
    // itself good, so it counts as incomplete and no data reaches the slot.
    if (answerLength < 4 || !CheckEntryAnswer(text, answerLength)) {
        ClearSlot(slot, slotSize);
        return EntryOutcome::Incomplete;
    }
    const std::uint8_t expected = ReceivedChecksum(text, text.size());
    // The pairs are already in the slot when the sums are compared; a bad entry must not keep them.
    if (DecodeEntry(text, text.size(), slot, slotSize) != expected) {
        ClearSlot(slot, slotSize);
        return EntryOutcome::ChecksumError;
    }
    return EntryOutcome::Good;
}

std::string EntryFailureText(EntryOutcome outcome, char letter, int index) {
    const std::string number = std::to_string(static_cast<long long>(index) + 1);
    switch (outcome) {
    case EntryOutcome::Incomplete:
        return "Answer of " + std::string(1, letter) + "-Info " + number + " incomplete!";
    case EntryOutcome::ChecksumError:
        return "CRC error in " + std::string(1, letter) + "-Info " + number;
    case EntryOutcome::Good:
        break;
    }
    return {};
}

std::optional<std::string> ParseSerialAnswer(std::string_view received) {
    const std::string_view text = ReceivedText(received);
    if (text.size() < 5 || !StartsWithUpper(text, "SN ") || !EndsWithLineEnd(text))
        return std::nullopt;
    return std::string(text.substr(3, text.size() - 5));
}

std::optional<InfoHeader> ParseHeaderAnswer(std::string_view received, char letter) {
    const std::string_view text = ReceivedText(received);
    const char prefix[] = {AsciiUpper(letter), 'I', ' ', '\0'};
    if (text.size() < 5 || !StartsWithUpper(text, prefix) || !EndsWithLineEnd(text))
        return std::nullopt;
    InfoHeader header;
    header.AnswerLength = static_cast<std::uint16_t>(HexField(Characters(text, 4, 2)));
    header.InfoType = static_cast<std::uint16_t>(HexField(Characters(text, 6, 2)));
    header.EntryCount = static_cast<std::uint16_t>(HexField(Characters(text, 8, 4)));
    return header;
}

AnswerFault ClassifyAnswer(std::string_view received, std::string_view prefix) {
    if (received.empty())
        return AnswerFault::Empty;
    const std::string_view text = ReceivedText(received);
    const bool prefixed = StartsWithUpper(text, prefix);
    if (prefixed && EndsWithLineEnd(text))
        return AnswerFault::None;
    // A controller sends printable ASCII and CR LF; a zero byte or an 8-bit or control byte in a
    // rejected answer is what a line at another bit rate delivers.
    const bool printable = std::all_of(received.begin(), received.end(), [](char c) {
        return (c >= ' ' && c <= '~') || c == '\r' || c == '\n';
    });
    if (!printable)
        return AnswerFault::NotAnAnswer;
    if (prefixed)
        return AnswerFault::NoLineEnd;
    // A whole line, or the start of one that answers another request ("SN 4711" arriving late);
    // anything else is noise, as a line at another bit rate delivers.
    const auto letter = [](char c) { return AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'Z'; };
    const bool answerShaped = text.size() >= 3 && letter(text[0]) && letter(text[1]) && text[2] == ' ';
    return EndsWithLineEnd(text) || answerShaped ? AnswerFault::WrongPrefix : AnswerFault::NotAnAnswer;
}

} // namespace lexorant
