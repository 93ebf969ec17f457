#include "tools/sim/answers.h"

#include <gtest/gtest.h>

#include <array>

using namespace lexorant;
using namespace lexorant::sim;

namespace {

TEST(SimAnswers, EntryAnswerCarriesUpperCaseHexAndTheByteSum) {
    const std::array<std::uint8_t, 16> entry = {0x01, 0x0A, 0x0C, 0x18, 0x07, 0x05, 0x00, 0x00,
                                                0x2A, 0x00, 0x9F, 0x03, 0x0D, 0x00, 0x00, 0x00};
    EXPECT_EQ(EncodeEntryAnswer(entry.data(), entry.size()), "010A0C18070500002A009F030D00000014\r\n");
    const std::array<std::uint8_t, 3> wraps = {0x01, 0x02, 0xFF};
    EXPECT_EQ(EncodeEntryAnswer(wraps.data(), wraps.size()), "0102FF02\r\n");
}

TEST(SimAnswers, HeadersAndSilence) {
    GenerateOptions options;
    options.gCount = 120;
    options.xCount = 16;
    options.xType = 2;
    const SimUnit unit = GenerateUnit(options);
    const Behaviour plain;

    EXPECT_EQ(AnswerRequest(unit, plain, "GI?\r\n"), "GI 24000078\r\n");
    EXPECT_EQ(AnswerRequest(unit, plain, "XI?\r\n"), "XI C4020010\r\n");
    for (const char* silent : {"\r\n", "GI@ 120\r\n", "XI@ -1\r\n", "GI@ 1\n", "SN?\n", "HELLO\r\n"})
        EXPECT_EQ(AnswerRequest(unit, plain, silent), std::nullopt) << silent;
}

TEST(SimAnswers, FaultsChangeOnlyTheirEntry) {
    const SimUnit unit = GenerateUnit({});
    Behaviour faulty;
    faulty.faults = {{'G', 1, FaultKind::MissingCharacter}, {'G', 2, FaultKind::ZeroByte}};
    const auto good = AnswerRequest(unit, faulty, "GI@ 0\r\n");
    const auto missing = AnswerRequest(unit, faulty, "GI@ 1\r\n");
    const auto zero = AnswerRequest(unit, faulty, "GI@ 2\r\n");
    ASSERT_TRUE(good && missing && zero);
    EXPECT_EQ(*good, EncodeEntryAnswer(unit.store.GInfoSlot(0), 16));
    EXPECT_EQ(missing->size(), 35u);
    EXPECT_EQ(zero->size(), 36u);
    EXPECT_NE(zero->find('\0'), std::string::npos);
}

} // namespace
