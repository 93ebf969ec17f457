#pragma once
// The reading loop: every entry of both blocks that is not in yet, into the record store. What
// happens is told as ReadEvents, one at a time.
#include "link/protocol.h"
#include "readout/entry_ref.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lexorant {

class EntryKeeper;
class EntrySet;
class SerialPort;
struct RecordStore;

// After this many entries in a row without a single byte of answer the unit counts as gone; fewer
// are reported one by one, like any other failed entry.
inline constexpr int kSilentEntriesForLoss = 10;

enum class LineLossReason {
    HungUp,           // an exchange ended with the line hung up (or it could not be written)
    StoppedAnswering, // kSilentEntriesForLoss entries in a row brought no byte
};

// The line to the unit is lost: where and why.
struct LineLoss {
    EntryRef entry; // the first entry that got no answer
    int count = 0;  // entries of its block
    LineLossReason reason = LineLossReason::HungUp;

    friend bool operator==(const LineLoss&, const LineLoss&) = default;
};

// "The unit stopped answering at G-Info 271 of 3000 (the line hung up)".
std::string LineLostText(const LineLoss& loss);

// What the read does once the line is lost.
enum class AfterLoss {
    Stop,   // end the read: no file, every entry received so far kept
    Retry,  // open the port again by its name and go on at the entry that got no answer; should that
            // entry bring no byte either, the line counts as lost again at once
    GoOn,   // go on entry by entry, each failure reported as it comes
    Resume, // the unit answers again on the port, opened anew and checked by whoever was asked: go on
            // at the entry that got no answer
};

// What happens while a read runs, as it happens, on the reading thread. Whoever reads (a window, a
// terminal) decides what each event shows; the loop waits until each call has returned.
class ReadEvents {
public:
    virtual ~ReadEvents() = default;
    // Before the first entry is asked. `kept`: the entries already in the store (a continued read), which
    // are not asked again; empty for a read from the start.
    virtual void ReadStarted(const EntrySet& kept) = 0;
    // What the read is doing: "Reading G-Info 5 of 40", "40 G-Infos read".
    virtual void Status(const std::string& text) = 0;
    // The entry came good and is in its slot.
    virtual void EntryIn(EntryRef entry) = 0;
    // The entry failed (its slot is zero); `text` says how. Returns once the failure has been seen.
    virtual void EntryFailed(EntryRef entry, const std::string& text) = 0;
    // The line is lost; LineLostText(loss) says where and why. The port's device is closed by then, so
    // that an adapter plugged in again can get its name back. Asked once for each loss: after GoOn,
    // again only once an answer has come in between.
    virtual AfterLoss LineLost(const LineLoss&) { return AfterLoss::GoOn; }
};

struct ReadJob {
    SerialPort& port;
    RecordStore& store;
    ReadEvents& events;
    // Set by another thread to end the read between entries (quitting).
    const std::atomic<bool>* stop = nullptr;
    // Gets every good entry the moment it has arrived.
    EntryKeeper* keeper = nullptr;
    // A continued read: the entries already in the store, which are not asked again.
    const EntrySet* in = nullptr;
};

struct BlockTally {
    int good = 0;
    int failed = 0;
};

// Reads count entries of one block into slots; returns how many were good and how many failed.
BlockTally ReadBlock(ReadJob& job, char letter, int count, std::size_t answerLength, std::uint8_t* slots,
                     std::size_t slotSize);

struct ReadTally {
    BlockTally g, x;              // of the entries asked
    bool stopped = false;         // by the stop request
    std::optional<LineLoss> lost; // the line was lost and the read ended there

    // Every entry was asked: the read-out may be written.
    bool RanToEnd() const { return !stopped && !lost; }
};

// Started (with the entries already in), the G block, the X block.
ReadTally RunRead(ReadJob& job);

std::string ReadingText(char letter, int number, int count);
// "G-Info 26 of 40": where an entry stands in its block, as the texts about a read name it.
std::string EntryOfText(EntryRef entry, int count);
std::string BlockDoneText(char letter, int count);

} // namespace lexorant
