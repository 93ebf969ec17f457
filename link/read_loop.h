#pragma once
// The body of the reading thread: every entry of both blocks into the record store, then the
// file. Every effect on the user's side goes through ReadSteps, one step at a time.
#include "link/protocol.h"
#include "readout/written_file.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace lexorant {

class SerialPort;
struct RecordStore;

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
};

struct ReadJob {
    SerialPort& port;
    RecordStore& store;
    ReadSteps& steps;
    FileWriter writeFile;
    // Set by another thread to end the read between entries (quitting); the file is not written.
    const std::atomic<bool>* stop = nullptr;
};

struct BlockTally {
    int good = 0;
    int failed = 0;
};

// Reads count entries of one block; returns how many were good and how many failed.
BlockTally ReadBlock(ReadJob& job, char letter, int count, std::size_t answerLength, std::uint8_t* slots,
                     std::size_t slotSize);

struct ReadTally {
    BlockTally g, x;
    bool stopped = false;
    std::string fileName;  // the file written (or not), empty when none was due
    std::string fileError; // empty when the file was written
};

// Lock, prepare grids, G block, X block, write file, unlock.
ReadTally RunRead(ReadJob& job);

std::string ReadingText(char letter, int number, int count);
std::string BlockDoneText(char letter, int count);

} // namespace lexorant
