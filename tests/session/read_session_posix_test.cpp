// One read from identification to file, as the window and lexorant-cli drive it, against a simulated
// unit: the events in their order, the file, and what becomes of a kept read-out.
#include "session/read_session.h"

#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "link/serial_port.h"
#include "tests/support/sim_line.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace lexorant;
using test::SimLine;
namespace fs = std::filesystem;

namespace {

sim::SimUnit Unit(std::uint32_t seed = 1) {
    sim::GenerateOptions options;
    options.gCount = 4;
    options.xCount = 2;
    options.seed = seed;
    return sim::GenerateUnit(options);
}

class Events : public SessionEvents {
public:
    void ReadStarted(const EntrySet& kept) override {
        seen.push_back("started, " + std::to_string(kept.Count()) + " kept");
    }
    void Status(const std::string&) override {}
    void EntryIn(EntryRef) override { ++in; }
    void EntryFailed(EntryRef, const std::string& text) override { seen.push_back("failed " + text); }
    AfterLoss LineLost(const LineLoss&) override {
        seen.push_back("lost");
        return AfterLoss::Stop;
    }
    void FileWritten(const WrittenFile& written) override {
        seen.push_back("written " + fs::path(written.name).filename().string());
    }
    void ReadEnded(const ReadResult& result) override {
        seen.push_back(result.End() == ReadOutState::Complete ? "ended complete" : "ended stopped");
    }
    std::vector<std::string> seen;
    int in = 0;
};

// A state folder of its own, so that reads keep their entries where nothing else looks.
class ReadSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/lexorant-session-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        root_ = folder;
        ::setenv("XDG_STATE_HOME", (root_ / "state").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_STATE_HOME");
        fs::remove_all(root_);
    }

    // Prepares and runs one read of the unit on the line to root/<name>; `continueKept` answers the
    // question about a kept read-out.
    ReadResult Read(SimLine&, const std::string& name, Events& events, bool continueKept = true,
                    Prepared expected = Prepared::Ready) {
        SerialPort port;
        EXPECT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
        ReadSession session(port);
        ReadChoices choices;
        choices.target = [&](const std::string&) { return NamedTarget((root_ / name).string()); };
        choices.continueKept = [&](const KeptReadOut&) { return continueKept; };
        EXPECT_EQ(session.Prepare(choices), expected);
        if (expected != Prepared::Ready)
            return {};
        anew = ReadAnewText(session.Start().from, session.Serial());
        RecordStore store = session.TakeStartStore();
        return session.Run(store, events);
    }

    static std::string Slurp(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    RecordStore Loaded(const std::string& name) {
        RecordStore store;
        EXPECT_TRUE(LoadInfoFile((root_ / name).string(), store));
        return store;
    }

    fs::path root_;
    std::string anew;
};

TEST_F(ReadSessionTest, AWholeReadWritesTheFileThenEndsAndKeepsNothing) {
    SimLine line(Unit());
    Events events;
    const ReadResult result = Read(line, "a.inf", events);
    EXPECT_TRUE(result.Written());
    EXPECT_EQ(events.seen, (std::vector<std::string>{"started, 0 kept", "written a.inf", "ended complete"}));
    EXPECT_EQ(events.in, 6);
    EXPECT_EQ(Loaded("a.inf"), line.Simulator().Unit().store);
    EXPECT_FALSE(KeptReadOutPath(line.Simulator().Unit().serial).has_value() &&
                 fs::exists(*KeptReadOutPath(line.Simulator().Unit().serial)));
}

// A read lost after two entries is continued by the next; a unit whose log changed meanwhile is read
// anew, and whoever reads is told so.
TEST_F(ReadSessionTest, AKeptReadOutIsContinuedOrReadAnewWhenTheLogChanged) {
    for (const std::uint32_t secondSeed : {1u, 2u}) {
        SCOPED_TRACE(secondSeed);
        {
            sim::Behaviour hangUp;
            hangUp.hangUpAfter = 6; // the flush, SN?, both headers, G-Info 1 and 2
            SimLine line(Unit(), hangUp);
            Events events;
            const ReadResult lost = Read(line, "b.inf", events);
            EXPECT_TRUE(lost.tally.lost);
            EXPECT_EQ(events.seen, (std::vector<std::string>{"started, 0 kept", "lost", "ended stopped"}));
        }
        SimLine line(Unit(secondSeed));
        Events events;
        EXPECT_TRUE(Read(line, "b.inf", events).Written());
        EXPECT_EQ(Loaded("b.inf"), line.Simulator().Unit().store);
        const bool changed = secondSeed != 1;
        EXPECT_EQ(events.seen.front(), changed ? "started, 0 kept" : "started, 2 kept");
        EXPECT_EQ(anew.empty(), !changed) << anew;
    }
}

// Another X-Info type with the same counts is another log, not one that has grown.
TEST_F(ReadSessionTest, AKeptReadOutOfAnotherEntryTypeIsTakenForAChangedLog) {
    const sim::SimUnit unit = Unit();
    InfoHeader otherX = unit.store.XInfo;
    otherX.InfoType = otherX.InfoType == 3 ? 2 : 3;
    {
        std::string error;
        auto kept = KeptReadOutWriter::Begin(*KeptReadOutPath(unit.serial), unit.serial, unit.store.GInfo,
                                             otherX, error);
        ASSERT_TRUE(kept) << error;
        kept->Keep({InfoBlock::GInfo, 0}, {unit.store.GInfoSlot(0), kGInfoSlotSize});
    }
    SimLine line(unit);
    Events events;
    EXPECT_TRUE(Read(line, "c.inf", events).Written());
    EXPECT_EQ(anew, ReadAnewText(KeptStart::Changed, unit.serial));
}

// The file of a read never goes over a kept read-out, which the read's end would then remove: not
// its own, not another unit's, not through a link.
TEST_F(ReadSessionTest, ATargetThatIsAKeptReadOutIsRefused) {
    const sim::SimUnit unit = Unit();
    const fs::path own = *KeptReadOutPath(unit.serial);
    const fs::path other = *KeptReadOutPath("other");
    fs::create_directories(own.parent_path());
    {
        std::string error;
        ASSERT_TRUE(KeptReadOutWriter::Begin(other, "other", unit.store.GInfo, unit.store.XInfo, error))
            << error;
    }
    fs::create_symlink(own, root_ / "link-to-own.inf");
    fs::create_symlink(other, root_ / "link-to-other.inf");
    fs::copy_file(other, root_ / "copied.inf");
    const std::string otherBefore = Slurp(other);
    for (const fs::path& target :
         {own, other, root_ / "link-to-own.inf", root_ / "link-to-other.inf", root_ / "copied.inf"}) {
        SCOPED_TRACE(target);
        SimLine line(unit);
        Events events;
        Read(line, fs::relative(target, root_).string(), events, true, Prepared::Refused);
        EXPECT_FALSE(fs::exists(own));
    }
    EXPECT_EQ(Slurp(other), otherBefore);
}

TEST_F(ReadSessionTest, ACancelledNameEndsTheReadBeforeItBegins) {
    SimLine line(Unit());
    SerialPort port;
    ASSERT_TRUE(port.OpenPort(SimLine::kPortName, 9600));
    ReadSession session(port);
    ReadChoices choices;
    choices.target = [](const std::string&) { return std::optional<ReadTarget>(); };
    EXPECT_EQ(session.Prepare(choices), Prepared::Cancelled);
    // Nothing but the identification's serial number was asked: no header, no entry.
    for (const std::string& request : line.Simulator().Requests())
        EXPECT_TRUE(request == "\r\n" || request == "SN?\r\n") << request;
}

} // namespace
