#include "link/protocol.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using namespace lexorant;
using namespace std::string_literals;

namespace {

struct HexCase {
    std::string field;
    std::int64_t value;
};

TEST(HexField, ConvertsLikeTheController) {
    const HexCase cases[] = {
        {"24", 0x24}, {"c4", 0xC4}, {"C4", 0xC4}, {"0078", 0x78}, {"FFFF", 0xFFFF}, {" 7", 7},
        {"\t\r7", 7}, {"+7", 7},    {"-1", -1},   {"-0x1", -1},   {"0x1F", 0x1F},   {"0X1f", 0x1F},
        {"0x", 0},    {"0xG", 0},   {"x1", 0},    {"G7", 0},      {"7G", 7},        {"", 0},
        {" ", 0},     {"-", 0},     {"+-1", 0},   {"1 2", 1},     {"\r\n", 0},      {"ff", 0xFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexField(c.field), c.value) << "field '" << c.field << "'";
}

TEST(HexField, IgnoresBytesOutsideAsciiAsWhiteSpace) {
    // 0xA0 is a space in some single-byte locales; on the line it is just a non-digit.
    EXPECT_EQ(HexField("\xA0"
                       "7"),
              0);
}

TEST(ReceivedText, EndsAtTheFirstZeroByte) {
    EXPECT_EQ(ReceivedText("AB\0CD"s), "AB");
    EXPECT_EQ(ReceivedText("ABCD"), "ABCD");
    EXPECT_EQ(ReceivedText("\0"s), "");
}

TEST(EntryRequest, LetterIndexAndLineEnd) {
    EXPECT_EQ(EntryRequest('G', 0), "\x47\x49\x40\x20\x30\x0D\x0A"s);
    EXPECT_EQ(EntryRequest('X', 12), "\x58\x49\x40\x20\x31\x32\x0D\x0A"s);
    EXPECT_EQ(EntryRequest('G', 65534), "GI@ 65534\r\n");
}

TEST(CheckEntryAnswer, NeedsExactLengthAndFinalLineEnd) {
    const std::string good = "010A0C18070500002A009F030D00000014\r\n";
    ASSERT_EQ(good.size(), 36u);
    EXPECT_TRUE(CheckEntryAnswer(good, 36));
    EXPECT_FALSE(CheckEntryAnswer(good.substr(0, 35), 36));
    EXPECT_FALSE(CheckEntryAnswer(good, 37));
    EXPECT_FALSE(CheckEntryAnswer(good.substr(0, 34) + "\n\r", 36));
    EXPECT_FALSE(CheckEntryAnswer(good.substr(0, 34) + "\r\r", 36));
    EXPECT_FALSE(CheckEntryAnswer("", 0));
}

TEST(ReceivedChecksum, TakesTheTwoCharactersBeforeTheLineEnd) {
    EXPECT_EQ(ReceivedChecksum("0102FF02\r\n", 10), 0x02);
    EXPECT_EQ(ReceivedChecksum("0102FFff\r\n", 10), 0xFF);
    EXPECT_EQ(ReceivedChecksum("0102FFG1\r\n", 10), 0x00);
    EXPECT_EQ(ReceivedChecksum("0102FF1G\r\n", 10), 0x01);
    EXPECT_EQ(ReceivedChecksum("AB\r\n", 4), 0xAB);
    EXPECT_EQ(ReceivedChecksum("\r\n", 2), 0);
}

TEST(DecodeEntry, GInfoExampleGivesItsBytesAndSum) {
    const std::string answer = "010A0C18070500002A009F030D00000014\r\n";
    std::array<std::uint8_t, 16> slot{};
    EXPECT_EQ(DecodeEntry(answer, answer.size(), slot.data(), slot.size()), 0x14);
    const std::array<std::uint8_t, 16> expected = {0x01, 0x0A, 0x0C, 0x18, 0x07, 0x05, 0x00, 0x00,
                                                   0x2A, 0x00, 0x9F, 0x03, 0x0D, 0x00, 0x00, 0x00};
    EXPECT_EQ(slot, expected);
}

TEST(DecodeEntry, NonHexPairsCountAsTheirConvertedValue) {
    std::array<std::uint8_t, 16> slot{};
    // "G7" is 0, "7G" is 7, " 5" is 5 and "-1" cut to 8 bits is FF.
    EXPECT_EQ(DecodeEntry("G77G 5-1xx\r\n", 12, slot.data(), slot.size()), (0 + 7 + 5 + 0xFF) % 256);
    EXPECT_EQ(slot[0], 0x00);
    EXPECT_EQ(slot[1], 0x07);
    EXPECT_EQ(slot[2], 0x05);
    EXPECT_EQ(slot[3], 0xFF);
    EXPECT_EQ(slot[4], 0x00);
}

// The slot under test sits between guard bytes that must never change.
class GuardedSlot {
public:
    explicit GuardedSlot(std::size_t size, std::uint8_t fill = 0)
        : bytes_(kGuard + size + kGuard, kGuardByte) {
        for (std::size_t i = 0; i < size; ++i)
            bytes_[kGuard + i] = fill;
    }
    std::uint8_t* data() { return bytes_.data() + kGuard; }
    std::size_t size() const { return bytes_.size() - 2 * kGuard; }
    std::vector<std::uint8_t> contents() const {
        return {bytes_.begin() + kGuard, bytes_.end() - static_cast<std::ptrdiff_t>(kGuard)};
    }
    bool GuardsIntact() const {
        for (std::size_t i = 0; i < kGuard; ++i)
            if (bytes_[i] != kGuardByte || bytes_[bytes_.size() - 1 - i] != kGuardByte)
                return false;
        return true;
    }
    bool AllZero() const {
        for (auto b : contents())
            if (b != 0)
                return false;
        return true;
    }

private:
    static constexpr std::size_t kGuard = 32;
    static constexpr std::uint8_t kGuardByte = 0xA5;
    std::vector<std::uint8_t> bytes_;
};

std::string HexPairs(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (auto b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

// A well-formed answer for the given data bytes: pairs, their 8-bit sum, CR LF.
std::string Answer(const std::vector<std::uint8_t>& bytes) {
    std::uint8_t sum = 0;
    for (auto b : bytes)
        sum = static_cast<std::uint8_t>(sum + b);
    return HexPairs(bytes) + HexPairs({sum}) + "\r\n";
}

struct EntryCase {
    const char* name;
    std::string received;
    std::size_t answerLength;
    std::size_t slotSize;
    EntryOutcome outcome;
    std::vector<std::uint8_t> slot; // expected contents; empty means all zero
};

std::vector<EntryCase> EntryCases() {
    const std::string gExample = "010A0C18070500002A009F030D00000014\r\n";
    const std::vector<std::uint8_t> gBytes = {0x01, 0x0A, 0x0C, 0x18, 0x07, 0x05, 0x00, 0x00,
                                              0x2A, 0x00, 0x9F, 0x03, 0x0D, 0x00, 0x00, 0x00};
    std::vector<std::uint8_t> xBytes(96);
    for (std::size_t i = 0; i < xBytes.size(); ++i)
        xBytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::vector<std::uint8_t> twenty(20);
    for (std::size_t i = 0; i < twenty.size(); ++i)
        twenty[i] = static_cast<std::uint8_t>(0xE0 + i);
    std::vector<std::uint8_t> sixteenOfTwenty(twenty.begin(), twenty.begin() + 16);

    std::string badSum = gExample;
    badSum[33] = '5';
    std::string lowerSum = Answer(std::vector<std::uint8_t>(16, 0xFF));
    lowerSum[32] = 'f';
    lowerSum[33] = '0';
    std::string withZero = gExample;
    withZero[10] = '\0';

    return {
        {"g example", gExample, 36, 16, EntryOutcome::Good, gBytes},
        {"three bytes into a sixteen byte slot",
         "0102FF02\r\n",
         10,
         16,
         EntryOutcome::Good,
         {0x01, 0x02, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"x entry", Answer(xBytes), 196, 96, EntryOutcome::Good, xBytes},
        {"sixteen FF with checksum F0", Answer(std::vector<std::uint8_t>(16, 0xFF)), 36, 16,
         EntryOutcome::Good, std::vector<std::uint8_t>(16, 0xFF)},
        {"lower-case checksum", lowerSum, 36, 16, EntryOutcome::Good, std::vector<std::uint8_t>(16, 0xFF)},
        {"non-hex pair counts as zero",
         "G77G07\r\n",
         8,
         16,
         EntryOutcome::Good,
         {0x00, 0x07, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"checksum error", badSum, 36, 16, EntryOutcome::ChecksumError, {}},
        {"one character short", gExample.substr(0, 35), 36, 16, EntryOutcome::Incomplete, {}},
        {"no line end", gExample.substr(0, 34) + "\n\r", 36, 16, EntryOutcome::Incomplete, {}},
        {"nothing received", "", 36, 16, EntryOutcome::Incomplete, {}},
        {"zero byte inside", withZero, 36, 16, EntryOutcome::Incomplete, {}},
        // More pairs than the slot holds: all twenty count in the sum, sixteen are stored.
        {"cut to the slot", Answer(twenty), 44, 16, EntryOutcome::Good, sixteenOfTwenty},
        {"cut to the slot, sum over stored bytes only is wrong",
         HexPairs(twenty) + HexPairs({0x78}) + "\r\n",
         44,
         16,
         EntryOutcome::ChecksumError,
         {}},
        // Below four characters there is no checksum: incomplete, nothing stored.
        {"answer length 3", "0\r\n", 3, 16, EntryOutcome::Incomplete, {}},
        {"answer length 2", "\r\n", 2, 16, EntryOutcome::Incomplete, {}},
        {"answer length 0", "", 0, 16, EntryOutcome::Incomplete, {}},
        {"answer length 4: no data, checksum 00", "00\r\n", 4, 16, EntryOutcome::Good, {}},
        {"answer length 4: no data, checksum 01", "01\r\n", 4, 16, EntryOutcome::ChecksumError, {}},
    };
}

TEST(EvaluateEntryAnswer, OutcomesAndSlotContents) {
    for (const auto& c : EntryCases()) {
        SCOPED_TRACE(c.name);
        // A failure starts from a dirty slot so that "all zero" proves the slot was cleared,
        // including the pairs that decoding had already stored.
        const bool good = c.outcome == EntryOutcome::Good;
        GuardedSlot slot(c.slotSize, good ? 0x00 : 0x5A);
        EXPECT_EQ(EvaluateEntryAnswer(c.received, c.answerLength, slot.data(), slot.size()), c.outcome);
        EXPECT_TRUE(slot.GuardsIntact());
        if (c.slot.empty())
            EXPECT_TRUE(slot.AllZero());
        else
            EXPECT_EQ(slot.contents(), c.slot);
    }
}

TEST(EvaluateEntryAnswer, LongAnswersNeverWritePastTheSlot) {
    for (std::size_t slotSize : {std::size_t{16}, std::size_t{96}}) {
        std::vector<std::uint8_t> bytes(500, 0x11);
        const std::string answer = Answer(bytes);
        GuardedSlot slot(slotSize);
        EXPECT_EQ(EvaluateEntryAnswer(answer, answer.size(), slot.data(), slot.size()), EntryOutcome::Good);
        EXPECT_TRUE(slot.GuardsIntact());
        EXPECT_EQ(slot.contents(), std::vector<std::uint8_t>(slotSize, 0x11));
    }
}

TEST(EntryFailureText, NamesTheEntryFromOne) {
    EXPECT_EQ(EntryFailureText(EntryOutcome::Incomplete, 'G', 4), "Answer of G-Info 5 incomplete!");
    EXPECT_EQ(EntryFailureText(EntryOutcome::ChecksumError, 'X', 2), "CRC error in X-Info 3");
    EXPECT_EQ(EntryFailureText(EntryOutcome::Incomplete, 'X', 65535), "Answer of X-Info 65536 incomplete!");
    EXPECT_EQ(EntryFailureText(EntryOutcome::Good, 'G', 0), "");
}

struct SerialCase {
    std::string received;
    std::optional<std::string> serial;
};

TEST(ParseSerialAnswer, AcceptsPrefixInAnyCaseAndFinalLineEnd) {
    const SerialCase cases[] = {
        {"SN 4711\r\n", "4711"},
        {"sn 4711\r\n", "4711"},
        {"sN 4711\r\n", "4711"},
        {"SN \r\n", ""},
        {"SN A B\r\n", "A B"},
        {"SN 12\r\n34\r\n", "12\r\n34"},
        {"SN 4711", std::nullopt},
        {"SN 4711\n", std::nullopt},
        {"SN 4711\n\r", std::nullopt},
        {"SN4711\r\n", std::nullopt},
        {"SN\r\n", std::nullopt},
        {"XSN 4711\r\n", std::nullopt},
        {"", std::nullopt},
        {"SN 47\0"
         "11\r\n"s,
         std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSerialAnswer(c.received), c.serial) << "answer '" << c.received << "'";
}

struct HeaderCase {
    std::string received;
    char letter;
    std::optional<InfoHeader> header;
};

TEST(ParseHeaderAnswer, PrefixLineEndAndFields) {
    const HeaderCase cases[] = {
        {"GI 24000078\r\n", 'G', InfoHeader{36, 0, 120}},
        {"gi 24000078\r\n", 'G', InfoHeader{36, 0, 120}},
        {"GI 24\r\n", 'G', InfoHeader{36, 0, 0}},
        {"GI 2\r\n", 'G', InfoHeader{2, 0, 0}},
        {"GI \r\n", 'G', InfoHeader{0, 0, 0}},
        {"XI c4020010\r\n", 'X', InfoHeader{196, 2, 16}},
        {"XI C4020010\r\n", 'X', InfoHeader{196, 2, 16}},
        {"GI -1000078\r\n", 'G', InfoHeader{65535, 0, 120}},
        {"GI 24-1-001\r\n", 'G', InfoHeader{36, 65535, 65535}},
        {"GI 2400G078\r\n", 'G', InfoHeader{36, 0, 0}},
        {"GI 24007G78\r\n", 'G', InfoHeader{36, 0, 7}},
        {"GI:24000078\r\n", 'G', std::nullopt},
        {"GI 24000078", 'G', std::nullopt},
        {"GI 24000078\n", 'G', std::nullopt},
        {"XI 24000078\r\n", 'G', std::nullopt},
        {"GI 24000078\r\n", 'X', std::nullopt},
        {"GI\r\n", 'G', std::nullopt},
        {"", 'G', std::nullopt},
        {"GI 24\0"
         "000078\r\n"s,
         'G', std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHeaderAnswer(c.received, c.letter), c.header) << "answer '" << c.received << "'";
}

} // namespace
