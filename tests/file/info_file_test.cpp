#include "tests/file/file_test_folder.h"
#include "file/info_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sys/stat.h>

using namespace lexorant;
using lexorant::testing::ReadBytes;
using lexorant::testing::TempFolder;
using lexorant::testing::WriteBytes;
using Bytes = std::vector<std::uint8_t>;

namespace {

RecordStore MakeStore(InfoHeader g, InfoHeader x, std::uint32_t seed) {
    RecordStore store;
    store.Replace(g, x);
    std::mt19937 random(seed);
    for (auto& b : store.GInfoSlots)
        b = static_cast<std::uint8_t>(random());
    for (auto& b : store.XInfoSlots)
        b = static_cast<std::uint8_t>(random());
    return store;
}

// What a load gives back: the store with every slot byte beyond the stored entry size zero.
RecordStore AsLoaded(RecordStore store) {
    const auto clear = [](std::vector<std::uint8_t>& slots, std::size_t slotSize, std::size_t stored) {
        for (std::size_t slot = 0; slot < slots.size(); slot += slotSize)
            std::fill(slots.begin() + static_cast<std::ptrdiff_t>(slot + stored),
                      slots.begin() + static_cast<std::ptrdiff_t>(slot + slotSize), 0);
    };
    clear(store.GInfoSlots, kGInfoSlotSize, StoredEntrySize(store.GInfo.AnswerLength, kGInfoSlotSize));
    clear(store.XInfoSlots, kXInfoSlotSize, StoredEntrySize(store.XInfo.AnswerLength, kXInfoSlotSize));
    return store;
}

bool AllZero(const Bytes& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

RecordStore StaleStore() {
    return MakeStore({36, 9, 3}, {196, 9, 2}, 7);
}

} // namespace

TEST(StoredEntrySize, CutToTheSlot) {
    struct Case {
        std::uint16_t answerLength;
        std::size_t slotSize;
        std::size_t expected;
    };
    const Case cases[] = {
        {0, 16, 0},    {3, 16, 0},    {4, 16, 0},    {5, 16, 0},      {6, 16, 1},    {36, 16, 16},
        {37, 16, 16},  {38, 16, 16},  {255, 16, 16}, {65535, 16, 16}, {100, 96, 48}, {196, 96, 96},
        {197, 96, 96}, {198, 96, 96}, {255, 96, 96}, {65535, 96, 96},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredEntrySize(c.answerLength, c.slotSize), c.expected) << "L=" << c.answerLength;
}

TEST(InfoFileWriter, ExactBytesOfASmallReadOut) {
    TempFolder folder;
    const RecordStore store = MakeStore({36, 0x0102, 2}, {196, 0x0A0B, 1}, 1);
    const auto name = (folder / "small.inf").string();
    ASSERT_EQ(WriteInfoFile(store, name), "");

    Bytes expected = {0x24, 0x00, 0x02, 0x01, 0x02, 0x00, 0xC4, 0x00, 0x0B, 0x0A, 0x01, 0x00};
    expected.insert(expected.end(), store.GInfoSlots.begin(), store.GInfoSlots.end());
    expected.insert(expected.end(), store.XInfoSlots.begin(), store.XInfoSlots.end());
    ASSERT_EQ(expected.size(), 140u);
    EXPECT_EQ(ReadBytes(name), expected);
}

TEST(InfoFileRoundTrip, LoadGivesBackWhatWasWritten) {
    struct Case {
        InfoHeader g, x;
    };
    const Case cases[] = {
        {{36, 1, 2}, {196, 2, 1}},  // whole slots
        {{0, 0, 0}, {0, 0, 0}},     // empty blocks: a 12-byte file
        {{5, 3, 4}, {5, 4, 5}},     // entries of no bytes load as zeros
        {{37, 1, 3}, {197, 2, 2}},  // odd lengths: the fraction is dropped
        {{20, 1, 5}, {50, 7, 4}},   // partly stored slots
        {{255, 1, 3}, {255, 2, 3}}, // lengths beyond the slots store whole slots
        {{2, 1, 3}, {65535, 2, 2}},
        {{36, 1, 65535}, {196, 2, 65535}}, // the largest read-out, read in many pieces
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const RecordStore written = MakeStore(c.g, c.x, 3);
        const auto name = (folder / "trip.inf").string();
        ASSERT_EQ(WriteInfoFile(written, name), "");
        EXPECT_EQ(std::filesystem::file_size(name), InfoFileSize(c.g, c.x));
        RecordStore loaded = StaleStore();
        ASSERT_TRUE(LoadInfoFile(name, loaded));
        EXPECT_EQ(loaded, AsLoaded(written)) << "L_G=" << c.g.AnswerLength << " L_X=" << c.x.AnswerLength;
    }
}

TEST(InfoFileRoundTrip, RandomStores) {
    TempFolder folder;
    std::mt19937 random(42);
    const auto header = [&] {
        return InfoHeader{static_cast<std::uint16_t>(random() % 256),
                          static_cast<std::uint16_t>(random() % 256),
                          static_cast<std::uint16_t>(random() % 200)};
    };
    for (std::uint32_t round = 0; round < 50; ++round) {
        const RecordStore written = MakeStore(header(), header(), round);
        const auto name = (folder / "random.inf").string();
        ASSERT_EQ(WriteInfoFile(written, name), "");
        RecordStore loaded;
        ASSERT_TRUE(LoadInfoFile(name, loaded));
        ASSERT_EQ(loaded, AsLoaded(written)) << "round " << round;
    }
}

TEST(InfoFileLoader, HugeCountsWithAShortFileGiveZeroEntries) {
    TempFolder folder;
    Bytes bytes = {0xFF, 0xFF, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0xFF, 0xFF};
    bytes.insert(bytes.end(), 20, 0xAB);
    WriteBytes(folder / "huge.inf", bytes);

    RecordStore store;
    ASSERT_TRUE(LoadInfoFile((folder / "huge.inf").string(), store));
    EXPECT_EQ(store.GInfo, (InfoHeader{65535, 1, 65535}));
    EXPECT_EQ(store.XInfo, (InfoHeader{65535, 2, 65535}));
    ASSERT_EQ(store.GInfoSlots.size(), 65535u * kGInfoSlotSize);
    ASSERT_EQ(store.XInfoSlots.size(), 65535u * kXInfoSlotSize);
    const Bytes head(store.GInfoSlots.begin(), store.GInfoSlots.begin() + 20);
    EXPECT_EQ(head, Bytes(20, 0xAB));
    EXPECT_TRUE(AllZero(Bytes(store.GInfoSlots.begin() + 20, store.GInfoSlots.end())));
    EXPECT_TRUE(AllZero(store.XInfoSlots));
}

TEST(InfoFileLoader, XInfoStartsAfterEveryAnnouncedGInfoEntry) {
    // Two G-Info entries of 4 bytes announced; the X-Info entries follow at offset 20.
    TempFolder folder;
    Bytes bytes = {12, 0, 1, 0, 2, 0, 8, 0, 2, 0, 1, 0};
    const Bytes g = {1, 2, 3, 4, 5, 6, 7, 8}, x = {9, 10};
    bytes.insert(bytes.end(), g.begin(), g.end());
    bytes.insert(bytes.end(), x.begin(), x.end());
    bytes.insert(bytes.end(), {0xEE, 0xEE}); // beyond the blocks: ignored
    WriteBytes(folder / "x.inf", bytes);

    RecordStore store;
    ASSERT_TRUE(LoadInfoFile((folder / "x.inf").string(), store));
    EXPECT_EQ(Bytes(store.GInfoSlots.begin(), store.GInfoSlots.begin() + 4), Bytes({1, 2, 3, 4}));
    EXPECT_EQ(Bytes(store.GInfoSlots.begin() + 16, store.GInfoSlots.begin() + 20), Bytes({5, 6, 7, 8}));
    EXPECT_EQ(Bytes(store.XInfoSlots.begin(), store.XInfoSlots.begin() + 2), x);
    EXPECT_EQ(store.XInfoSlots.size(), 96u);
    EXPECT_TRUE(AllZero(Bytes(store.XInfoSlots.begin() + 2, store.XInfoSlots.end())));
}

TEST(InfoFileLoader, TruncatedHeaderReadsMissingBytesAsZero) {
    TempFolder folder;
    for (std::size_t length = 0; length < kInfoFileHeaderSize; ++length) {
        WriteBytes(folder / "cut.inf", Bytes(length, 0xFF));
        Bytes full(length, 0xFF);
        full.resize(kInfoFileHeaderSize, 0);
        const auto word = [&](std::size_t i) {
            return static_cast<std::uint16_t>(full[i] | full[i + 1] << 8);
        };

        RecordStore store = StaleStore();
        ASSERT_TRUE(LoadInfoFile((folder / "cut.inf").string(), store));
        EXPECT_EQ(store.GInfo, (InfoHeader{word(0), word(2), word(4)})) << length << " bytes";
        EXPECT_EQ(store.XInfo, (InfoHeader{word(6), word(8), word(10)})) << length << " bytes";
        EXPECT_EQ(store.GInfoSlots.size(), store.GInfo.EntryCount * kGInfoSlotSize);
        EXPECT_EQ(store.XInfoSlots.size(), store.XInfo.EntryCount * kXInfoSlotSize);
        EXPECT_TRUE(AllZero(store.GInfoSlots) && AllZero(store.XInfoSlots));
    }
}

TEST(InfoFileLoader, AForeignFileIsReadAsAnInfoFile) {
    TempFolder folder;
    const std::string text = "Hello, this is not a read-out at all.\n";
    WriteBytes(folder / "notes.txt", Bytes(text.begin(), text.end()));
    RecordStore store;
    ASSERT_TRUE(LoadInfoFile((folder / "notes.txt").string(), store));
    EXPECT_EQ(store.GInfo.AnswerLength, 'H' | 'e' << 8);
    EXPECT_EQ(store.GInfoSlots.size(), store.GInfo.EntryCount * kGInfoSlotSize);
    EXPECT_EQ(store.XInfoSlots.size(), store.XInfo.EntryCount * kXInfoSlotSize);
}

#ifndef _WIN32
using lexorant::testing::DriveO;

TEST(InfoFileRoundTrip, ThroughTheWindowsName) {
    TempFolder drive;
    DriveO o(drive.path());
    std::filesystem::create_directories(drive / "geraete/Lexorant");
    const RecordStore written = MakeStore({36, 1, 2}, {196, 2, 1}, 4);
    ASSERT_EQ(WriteInfoFile(written, "O:\\geraete\\Lexorant\\unit.inf"), "");
    EXPECT_EQ(std::filesystem::file_size(drive / "geraete/Lexorant/unit.inf"), 140u);
    RecordStore loaded;
    ASSERT_TRUE(LoadInfoFile("o:\\geraete\\Lexorant\\unit.inf", loaded));
    EXPECT_EQ(loaded, written);
}

// Nothing but a regular file is loaded, and nothing waits: a pipe without a writer or an endless
// device fails at once, as a missing file does.
TEST(InfoFileLoader, UnopenableFileLeavesTheStoreUntouched) {
    TempFolder folder;
    DriveO noDrive(std::nullopt);
    ASSERT_EQ(::mkfifo((folder / "pipe.inf").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder / "pipe.inf", folder / "link-to-pipe.inf");
    const std::string names[] = {
        (folder / "missing.inf").string(),
        folder.path().string(),            // a directory
        "O:\\geraete\\Lexorant\\unit.inf", // no drive O:
        (folder / "pipe.inf").string(),
        (folder / "link-to-pipe.inf").string(),
        "/dev/zero",
    };
    for (const auto& name : names) {
        RecordStore store = StaleStore();
        EXPECT_FALSE(LoadInfoFile(name, store)) << name;
        EXPECT_EQ(store, StaleStore()) << name;
    }
}
#endif
