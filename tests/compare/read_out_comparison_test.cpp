// Which entries of a newer read-out are new, known or empty, and which of the older one are gone.
#include "compare/comparison_text.h"
#include "compare/read_out_comparison.h"
#include "tests/support/hand_made_read_out.h"

#include <gtest/gtest.h>

#include <string>

using namespace lexorant;

namespace {

// A block written as letters: each letter an entry of its own bytes (the same letter, the same bytes),
// '0' an all-zero slot, '-' an entry never read.
std::int16_t CodeOf(char letter) {
    return static_cast<std::int16_t>(-(letter - 'a' + 1));
}

void PutEntry(std::uint8_t* slot, std::size_t size, char letter) {
    if (letter == '0' || letter == '-')
        return;
    test::PutHead(slot, {CodeOf(letter), {10, 2, static_cast<std::uint8_t>(letter - 'a' + 1), 12, 0, 0}});
    slot[size - 1] = static_cast<std::uint8_t>(letter); // bytes beyond the head differ too
}

ReadOutData ReadOut(const std::string& g, const std::string& x = "", std::uint16_t xType = 3,
                    std::uint16_t gAnswerLength = 36) {
    ReadOutData data;
    data.store.Replace({gAnswerLength, 0, static_cast<std::uint16_t>(g.size())},
                       {196, xType, static_cast<std::uint16_t>(x.size())});
    data.in = EntrySet(data.store.GInfo, data.store.XInfo);
    for (const auto& [block, letters] : {std::pair{InfoBlock::GInfo, g}, std::pair{InfoBlock::XInfo, x}}) {
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const EntryRef entry{block, static_cast<std::uint16_t>(i)};
            PutEntry(SlotOf(data.store, entry), SlotSizeOf(block), letters[i]);
            if (letters[i] != '-')
                data.in.Add(entry);
        }
    }
    return data;
}

// The newer read-out's classes as letters: N new, K known, 0 empty, - not read.
std::string Classes(const ReadOutComparison& c, InfoBlock block, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        static constexpr char kLetter[] = {'-', '0', 'K', 'N'};
        out += kLetter[static_cast<int>(c.ClassOf({block, static_cast<std::uint16_t>(i)}))];
    }
    return out;
}

// The older read-out's gone entries as their positions.
std::string Gone(const ReadOutComparison& c, InfoBlock block) {
    std::string out;
    for (const EntryRef& e : c.GoneEntries(block))
        out += std::to_string(e.index);
    return out;
}

ComparisonCounts CountsOf(const std::string& classes, const std::string& gone, const std::string& older) {
    ComparisonCounts counts;
    counts.added = std::count(classes.begin(), classes.end(), 'N');
    counts.known = std::count(classes.begin(), classes.end(), 'K');
    counts.empty = std::count(classes.begin(), classes.end(), '0');
    counts.notRead = std::count(classes.begin(), classes.end(), '-');
    counts.gone = gone.size();
    counts.earlierNotRead = std::count(older.begin(), older.end(), '-');
    return counts;
}

struct RuleCase {
    const char* what;
    std::string older, newer; // G-Info blocks
    std::string classes;      // of the newer entries
    std::string gone;         // positions in the older block
};

} // namespace

TEST(ReadOutComparisonTest, EntriesMatchByTheirBytesWhereverTheyStand) {
    const RuleCase cases[] = {
        {"the same read-out", "abc", "abc", "KKK", ""},
        {"entries logged since", "abc", "abcde", "KKKNN", ""},
        {"a log that went round", "abcde", "fgcde", "NNKKK", "01"},
        {"a log that went round moves nothing", "abcd", "cdab", "KKKK", ""},
        {"a cleared log", "abc", "de", "NN", "012"},
        {"more copies than before: the later ones are new", "aab", "abaa", "KKKN", ""},
        {"fewer copies than before: the later ones are gone", "aaab", "ba", "KK", "12"},
        {"all-zero slots are neither new nor gone", "a0b0", "0ab00c", "0KK00N", ""},
        {"an entry the newer read-out did not read is not new", "abc", "a-cd", "K-KN", "1"},
        {"an entry the older read-out did not read is not gone", "a-c", "abc", "KNK", ""},
        {"an empty block", "", "ab", "NN", ""},
        {"into an empty block", "ab", "", "", "01"},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadOutComparison comparison = Compare(ReadOut(c.older), ReadOut(c.newer));
        EXPECT_EQ(Classes(comparison, InfoBlock::GInfo, c.newer.size()), c.classes);
        EXPECT_EQ(Gone(comparison, InfoBlock::GInfo), c.gone);
        EXPECT_EQ(comparison.Counts(InfoBlock::GInfo), CountsOf(c.classes, c.gone, c.older));
    }
}

// Bytes are what counts: the headers of the blocks and the other block are not looked at.
TEST(ReadOutComparisonTest, BlocksAreComparedApartAndByTheirSlotsAlone) {
    struct Case {
        const char* what;
        ReadOutData older, newer;
        std::string gClasses, xClasses;
    };
    const Case cases[] = {
        {"other block sizes", ReadOut("ab", "c"), ReadOut("abde", "cfg"), "KKNN", "KNN"},
        {"another X-Info type", ReadOut("", "ab", 1), ReadOut("", "ab", 3), "", "KK"},
        {"another entry size", ReadOut("ab", "", 3, 36), ReadOut("ab", "", 3, 30), "KK", ""},
        {"the same bytes in the other block", ReadOut("ab", ""), ReadOut("", "ab"), "", "NN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadOutComparison comparison = Compare(c.older, c.newer);
        EXPECT_EQ(Classes(comparison, InfoBlock::GInfo, c.gClasses.size()), c.gClasses);
        EXPECT_EQ(Classes(comparison, InfoBlock::XInfo, c.xClasses.size()), c.xClasses);
    }
}

// A read that is running: entries arrive one by one, in any order, some twice.
TEST(ReadOutComparisonTest, EntriesClassifiedAsTheyArriveCountOnce) {
    const ReadOutData older = ReadOut("aabc");
    const ReadOutData newer = ReadOut("daaa0");
    ReadOutComparison running(older, newer.store.GInfo, newer.store.XInfo);
    EXPECT_EQ(running.Counts(InfoBlock::GInfo), CountsOf("-----", "0123", ""));
    for (const int i : {4, 2, 0, 2, 1, 3, 4})
        running.Classify(newer.store, {InfoBlock::GInfo, static_cast<std::uint16_t>(i)});
    EXPECT_EQ(running.Counts(InfoBlock::GInfo), Compare(older, newer).Counts(InfoBlock::GInfo));
    EXPECT_EQ(Gone(running, InfoBlock::GInfo), "23");
    EXPECT_EQ(running.Classify(newer.store, {InfoBlock::GInfo, 9}), EntryClass::NotRead)
        << "beyond the block";
}

TEST(ReadOutComparisonTest, CountsNewEntriesPerCodeAndCodesNewAltogether) {
    ReadOutData older = ReadOut("abc");
    ReadOutData newer = ReadOut("abddb", "ed");
    newer.store.GInfoSlot(4)[12] = 1; // the code of b with other bytes: a new entry, not a new code
    const ReadOutComparison comparison = Compare(older, newer);
    EXPECT_EQ(comparison.NewCountOf(CodeOf('d')), 3u);
    EXPECT_EQ(comparison.NewCountOf(CodeOf('b')), 1u);
    EXPECT_EQ(comparison.NewCountOf(CodeOf('a')), 0u);
    EXPECT_EQ(comparison.NewCodes(), (std::vector<std::int16_t>{CodeOf('e'), CodeOf('d')}));
}

TEST(ReadOutComparisonTest, SaysWhatChangedInOneWording) {
    const ReadOutComparison full = Compare(ReadOut("abc0", "ab"), ReadOut("bcde0", "xyzb"));
    EXPECT_EQ(ComparisonCountsLine(full, InfoBlock::GInfo), "G-Info: 2 new, 2 known, 1 gone, 1 empty");
    EXPECT_EQ(ComparisonCountsLine(full, InfoBlock::XInfo), "X-Info: 3 new, 1 known, 1 gone, 0 empty");
    EXPECT_EQ(ComparisonSinceLine(full, "O:\\geraete\\Lexorant\\4711-0815_02.inf"),
              "Since 4711-0815_02.inf: 2 new G-Info, 3 new X-Info entries");
    const ReadOutComparison partial = Compare(ReadOut("a-c"), ReadOut("ab--"));
    EXPECT_EQ(ComparisonCountsLine(partial, InfoBlock::GInfo),
              "G-Info: 1 new, 1 known, 1 gone, 0 empty, 2 not read, 1 not read earlier");
}
