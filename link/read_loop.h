#pragma once
// The body of the reading thread: every entry of both blocks into the record store, then the
// file. Every effect on the user's side goes through ReadSteps, one step at a time.
#include "link/protocol.h"
#include "readout/entry_ref.h"
#include "readout/written_file.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
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
    Stop,  // end the read: no file, every entry received so far kept
    Retry, // open the port again by its name and go on at the entry that got no answer; should that
           // entry bring no byte either, the line counts as lost again at once
    GoOn,  // go on entry by entry, each failure reported as it comes
};

class ReadSteps {
public:
    virtual ~ReadSteps() = default;
    virtual void LockMenus() = 0;
    virtual void InitInfoGrids() = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ShowGInfoEntry(int index) = 0;
    virtual void ShowXInfoEntry(int index) = 0;
    // Returns once the user has seen the text.
    virtual void ShowError(const std::string& text) = 0;
    virtual void UnlockMenus() = 0;
    // The file has been written, or has failed to be, under this name: an autosave takes the next
    // free number when another writer took the one chosen at the start.
    virtual void ShowFileName(const std::string&) {}
    // An error that no step of the read expected (shown by the window as any escaped error).
    virtual void ShowUnexpectedError(const std::string& text) { ShowError(text); }
    // The line is lost; LineLostText(loss) says where and why. Asked once for each loss: after GoOn,
    // again only once an answer has come in between.
    virtual AfterLoss LineLost(const LineLoss&) { return AfterLoss::GoOn; }
    // A continued read: the entries already in the store, shown once before any entry is asked.
    // By default each through ShowGInfoEntry or ShowXInfoEntry.
    virtual void ShowKeptEntries(const EntrySet& in);
};

struct ReadJob {
    SerialPort& port;
    RecordStore& store;
    ReadSteps& steps;
    FileWriter writeFile;
    // Set by another thread to end the read between entries (quitting); the file is not written.
    const std::atomic<bool>* stop = nullptr;
    // Gets every good entry the moment it has arrived; told when the file has been written.
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
    BlockTally g, x; // of the entries asked
    bool stopped = false; // by the stop request
    std::optional<LineLoss> lost; // the line was lost and the read ended there
    std::string fileName;  // the file written (or not), empty when none was due
    std::string fileError; // empty when the file was written
};

// Lock, prepare grids (and show the entries already in), G block, X block, write the file, unlock.
// A read that the stop request or a lost line ended writes no file.
ReadTally RunRead(ReadJob& job);

std::string ReadingText(char letter, int number, int count);
// "G-Info 26 of 40": where an entry stands in its block, as the texts about a read name it.
std::string EntryOfText(EntryRef entry, int count);
std::string BlockDoneText(char letter, int count);

} // namespace lexorant
