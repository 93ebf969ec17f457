#include "readout/read_out.h"

#include "readout/entry_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lexorant {
namespace {

InfoHeader Header(std::uint16_t entries) {
    InfoHeader header;
    header.EntryCount = entries;
    return header;
}

RecordStore Zeros(std::uint16_t g, std::uint16_t x) {
    RecordStore store;
    store.Replace(Header(g), Header(x));
    return store;
}

ReadOutData File(RecordStore store, EntrySet in, bool partial) {
    ReadOutData data;
    data.store = std::move(store);
    data.in = std::move(in);
    data.name = data.source = partial ? "/tmp/4711.partial" : "/tmp/x.inf";
    data.origin = ReadOutOrigin::File;
    data.partial = partial;
    return data;
}

struct Log : ReadOutFollower {
    std::vector<std::string> seen;
    void ReadOutReplaced() override { seen.push_back("replaced"); }
    void EntriesArrived(InfoBlock block, std::size_t first, std::size_t count) override {
        seen.push_back((block == InfoBlock::GInfo ? "G " : "X ") + std::to_string(first) + "+" +
                       std::to_string(count));
    }
    void ReadOutStateChanged() override { seen.push_back("state"); }
    void ReadOutRenamed() override { seen.push_back("renamed"); }
};

TEST(ReadOut, AReadCountsWhatCameInAndLeavesGapsWhereEntriesFailed) {
    ReadOut readOut;
    Log log;
    readOut.Follow(log);
    readOut.StartRead(Zeros(5, 2), "4711", "a.inf", "COM1");
    EXPECT_EQ(readOut.Serial(), "4711");
    EXPECT_EQ(readOut.State(), ReadOutState::Reading);
    EXPECT_FALSE(readOut.Settled());
    readOut.EntryArrived({InfoBlock::GInfo, 0});
    readOut.EntryArrived({InfoBlock::GInfo, 3}); // 1 and 2 failed
    readOut.EntryArrived({InfoBlock::GInfo, 5}); // beyond the block: not an entry of it
    EXPECT_EQ(readOut.Extent(InfoBlock::GInfo), 4u);
    EXPECT_EQ(readOut.ArrivedCount(InfoBlock::GInfo), 2u);
    EXPECT_FALSE(readOut.Arrived({InfoBlock::GInfo, 1}));
    EXPECT_EQ(readOut.Extent(InfoBlock::XInfo), 0u);
    readOut.Rename("a.inf");     // the same name: nothing to tell
    readOut.Rename("b.inf");
    readOut.EndRead(ReadOutState::Stopped);
    readOut.EndRead(ReadOutState::Complete); // only a running read ends
    EXPECT_EQ(readOut.State(), ReadOutState::Stopped);
    EXPECT_EQ(log.seen, (std::vector<std::string>{"replaced", "G 0+1", "G 3+1", "renamed", "state"}));
}

TEST(ReadOut, AnOpenedFileHasEveryEntryInAndAFollowerMayLeaveWhileTold) {
    RecordStore store;
    store.Replace(Header(3), Header(0));
    ReadOut readOut;
    struct Leaving : ReadOutFollower {
        ReadOut* readOut = nullptr;
        int told = 0;
        void ReadOutReplaced() override {
            ++told;
            readOut->Unfollow(*this);
        }
    } leaving;
    leaving.readOut = &readOut;
    Log log;
    readOut.Follow(leaving);
    readOut.Follow(log);
    readOut.Open(File(store, EntrySet::All(store.GInfo, store.XInfo), false));
    readOut.Open(File(store, EntrySet::All(store.GInfo, store.XInfo), false));
    EXPECT_EQ(leaving.told, 1);
    EXPECT_EQ(log.seen, (std::vector<std::string>{"replaced", "replaced"}));
    EXPECT_EQ(readOut.Origin(), ReadOutOrigin::File);
    EXPECT_TRUE(readOut.Settled());
    EXPECT_EQ(readOut.Extent(InfoBlock::GInfo), 3u);
    EXPECT_EQ(readOut.ArrivedCount(InfoBlock::GInfo), 3u);
}

// Kept entries of a continued read come in runs of neighbours; a stopped read-out opened has only its own.
TEST(ReadOut, KeptEntriesCountAsInAndAnOpenedStoppedReadOutHasOnlyThose) {
    EntrySet in(Header(6), Header(2));
    for (const std::uint16_t i : {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{2}, std::uint16_t{4}})
        in.Add({InfoBlock::GInfo, i});
    in.Add({InfoBlock::XInfo, 1});
    ReadOut readOut;
    Log log;
    readOut.Follow(log);
    readOut.StartRead(Zeros(6, 2), "4711", "a.inf", "COM1");
    readOut.EntriesKept(in);
    EXPECT_EQ(log.seen, (std::vector<std::string>{"replaced", "G 0+3", "G 4+1", "X 1+1"}));
    EXPECT_EQ(readOut.ArrivedCount(InfoBlock::GInfo), 4u);
    EXPECT_EQ(readOut.Extent(InfoBlock::GInfo), 5u);
    readOut.EntryArrived({InfoBlock::GInfo, 5});
    EntrySet expected = in;
    expected.Add({InfoBlock::GInfo, 5});
    EXPECT_EQ(readOut.Entries(), expected);

    readOut.Open(File(Zeros(6, 2), in, true));
    EXPECT_EQ(readOut.State(), ReadOutState::Stopped);
    EXPECT_EQ(readOut.Origin(), ReadOutOrigin::File);
    EXPECT_FALSE(readOut.Arrived({InfoBlock::GInfo, 3}));
    EXPECT_TRUE(readOut.Arrived({InfoBlock::XInfo, 1}));
    EXPECT_EQ(readOut.ArrivedCount(InfoBlock::XInfo), 1u);
    EXPECT_EQ(readOut.Entries(), in);
}

} // namespace
} // namespace lexorant
