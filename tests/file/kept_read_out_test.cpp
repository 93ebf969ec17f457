#include "file/file_naming.h"
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "file/read_out_file.h"
#include "tests/file/file_test_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace lexorant;
using lexorant::testing::ReadBytes;
using lexorant::testing::TempFolder;
using lexorant::testing::WriteBytes;

namespace {

const InfoHeader kG{36, 0, 4};
const InfoHeader kX{196, 3, 2};

// Entry `entry`'s slot filled with a byte of its own.
std::vector<std::uint8_t> Slot(EntryRef entry) {
    const bool g = entry.block == InfoBlock::GInfo;
    return std::vector<std::uint8_t>(g ? kGInfoSlotSize : kXInfoSlotSize,
                                     static_cast<std::uint8_t>((g ? 0x10 : 0x80) + entry.index));
}

const EntryRef kKept[] = {{InfoBlock::GInfo, 0}, {InfoBlock::GInfo, 2}, {InfoBlock::XInfo, 1}};

// A kept read-out of the entries kKept, as a read that stopped leaves it.
std::filesystem::path KeepSome(const TempFolder& folder) {
    const auto path = folder / "4711.partial";
    std::string error;
    auto writer = KeptReadOutWriter::Begin(path, "4711", kG, kX, error);
    EXPECT_TRUE(writer) << error;
    for (const EntryRef entry : kKept)
        writer->Keep(entry, Slot(entry));
    return path;
}

void ExpectKept(const KeptReadOut& kept, std::size_t count) {
    EXPECT_EQ(kept.serial, "4711");
    EXPECT_EQ(kept.store.GInfo, kG);
    EXPECT_EQ(kept.store.XInfo, kX);
    EXPECT_EQ(kept.in.Count(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto slot = Slot(kKept[i]);
        EXPECT_TRUE(kept.in.Has(kKept[i]));
        EXPECT_TRUE(std::equal(slot.begin(), slot.end(), SlotOf(kept.store, kKept[i])));
    }
    EXPECT_FALSE(kept.in.Has({InfoBlock::GInfo, 1}));
    EXPECT_TRUE(std::all_of(kept.store.GInfoSlot(1), kept.store.GInfoSlot(2), [](auto b) { return b == 0; }));
}

TEST(KeptReadOut, WhatWasKeptLoadsBackAsAPartialReadOut) {
    TempFolder folder;
    const auto path = KeepSome(folder);
    const auto kept = LoadKeptReadOut(path);
    ASSERT_TRUE(kept);
    ExpectKept(*kept, 3);

    const auto file = LoadReadOut(path.string());
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->partial);
    EXPECT_EQ(file->serial, "4711");
    EXPECT_EQ(file->in, kept->in);
    EXPECT_EQ(file->store, kept->store);
}

// A crash may cut the file anywhere: whatever was whole before the cut loads; a cut head is no
// kept read-out at all.
TEST(KeptReadOut, ACutFileLoadsTheRecordsBeforeTheCut) {
    TempFolder folder;
    const auto whole = ReadBytes(KeepSome(folder));
    const std::size_t head = EncodeKeptHead("4711", kG, kX).size();
    const std::size_t gRecord = EncodeKeptRecord(kKept[0], Slot(kKept[0])).size();
    const std::size_t xRecord = EncodeKeptRecord(kKept[2], Slot(kKept[2])).size();
    ASSERT_EQ(whole.size(), head + 2 * gRecord + xRecord);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const auto path = folder / "cut.partial";
        WriteBytes(path, {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)});
        const auto kept = LoadKeptReadOut(path);
        if (size < head) {
            EXPECT_FALSE(kept) << size;
            continue;
        }
        ASSERT_TRUE(kept) << size;
        const std::size_t records = size < head + gRecord ? 0 : size < head + 2 * gRecord ? 1 : 2;
        ExpectKept(*kept, records);
        EXPECT_EQ(kept->wholeBytes, head + std::min<std::size_t>(records, 2) * gRecord);
    }
    // A record damaged in place ends the load there as well.
    auto damaged = whole;
    damaged[head + gRecord + 5] ^= 0x01;
    WriteBytes(folder / "damaged.partial", damaged);
    ExpectKept(*LoadKeptReadOut(folder / "damaged.partial"), 1);
}

TEST(KeptReadOut, GoingOnCutsATornRecordAndAppendsBehindTheWholeOnes) {
    TempFolder folder;
    const auto path = KeepSome(folder);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 7);
    const auto torn = LoadKeptReadOut(path);
    ASSERT_TRUE(torn);
    ASSERT_EQ(torn->in.Count(), 2u);
    std::string error;
    {
        auto writer = KeptReadOutWriter::Resume(*torn, error);
        ASSERT_TRUE(writer) << error;
        writer->Keep(kKept[2], Slot(kKept[2]));
    }
    ExpectKept(*LoadKeptReadOut(path), 3);
}

TEST(KeptReadOut, AReadOutHeldByOneReadIsLeftAloneByAnother) {
    TempFolder folder;
    const auto path = folder / "4711.partial";
    std::string error;
    auto first = KeptReadOutWriter::Begin(path, "4711", kG, kX, error);
    ASSERT_TRUE(first);
    first->Keep(kKept[0], Slot(kKept[0]));
    EXPECT_FALSE(KeptReadOutWriter::Begin(path, "4711", kG, kX, error));
    EXPECT_EQ(LoadKeptReadOut(path)->in.Count(), 1u);
}

TEST(KeptReadOut, ACompletedReadRemovesIt) {
    TempFolder folder;
    const auto path = folder / "4711.partial";
    std::string error;
    auto writer = KeptReadOutWriter::Begin(path, "4711", kG, kX, error);
    writer->Keep(kKept[0], Slot(kKept[0]));
    writer->Completed();
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Killed after writing its file and before removing its kept read-out, a read leaves one that
// names the file: the next read knows it has nothing more to write.
TEST(KeptReadOut, AReadOutMarkedWrittenNamesItsFile) {
    TempFolder folder;
    const auto path = folder / "4711.partial";
    {
        std::string error;
        auto writer = KeptReadOutWriter::Begin(path, "4711", kG, kX, error);
        ASSERT_TRUE(writer) << error;
        writer->Keep(kKept[0], Slot(kKept[0]));
        EXPECT_FALSE(LoadKeptReadOut(path)->writtenTo);
        EXPECT_TRUE(writer->MarkWritten("O:\\geraete\\Lexorant\\4711_01.inf"));
    }
    const auto kept = LoadKeptReadOut(path);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->writtenTo, "O:\\geraete\\Lexorant\\4711_01.inf");
    ExpectKept(*kept, 1);
}

TEST(KeptReadOut, AnInfoFileIsNeverTakenForOne) {
    TempFolder folder;
    RecordStore store;
    store.Replace(kG, kX);
    ASSERT_EQ(WriteInfoFile(store, (folder / "u.inf").string()), "");
    EXPECT_FALSE(LoadKeptReadOut(folder / "u.inf"));
    const auto file = LoadReadOut((folder / "u.inf").string());
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->partial);
    EXPECT_TRUE(file->in.Complete());
}

#ifndef _WIN32
TEST(KeptReadOut, EverySerialHasAFileOfItsOwnInTheStateFolder) {
    TempFolder state;
    ::setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const auto folder = state.path() / "brenno-lexorant";
    // Named as the ".inf" files are, each serial its own.
    for (const char* serial : {"4711-0815", "a/b", "a_b", "..", "nul"})
        EXPECT_EQ(KeptReadOutPath(serial), folder / (FileNameSafeSerial(serial) + ".partial")) << serial;
    EXPECT_EQ(KeptReadOutPath("4711-0815"), folder / "4711-0815.partial");
    EXPECT_NE(KeptReadOutPath("a/b"), KeptReadOutPath("a_b"));
    EXPECT_EQ(KeptReadOutPath(std::string(300, '9'))->filename().string().size(), kLongestSerialPart + 9 + 8);

    std::string error;
    // A read kept under the earlier %XX name is found there, and goes on there.
    KeptReadOutWriter::Begin(folder / "x%25y%2Fz.partial", "x%y/z", kG, kX, error);
    EXPECT_EQ(KeptReadOutPath("x%y/z"), folder / "x%25y%2Fz.partial");
    ::unsetenv("XDG_STATE_HOME");
}
#endif

} // namespace
