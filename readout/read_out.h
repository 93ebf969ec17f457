#pragma once
// The read-out the user works with: its entries, the name the user knows it by, where it came from
// and how far it got. Every view follows it; none guesses it from the window.
#include "readout/entry_ref.h"
#include "readout/read_out_data.h"
#include "readout/read_out_state.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lexorant {

class EntrySet;

// Told of every change, on the thread that makes it (the window thread in the window).
class ReadOutFollower {
public:
    virtual ~ReadOutFollower() = default;
    // Other entries altogether: a read started or a file was opened.
    virtual void ReadOutReplaced() {}
    // Entries first to first + count - 1 of the block are in.
    virtual void EntriesArrived(InfoBlock /*block*/, std::size_t /*first*/, std::size_t /*count*/) {}
    virtual void ReadOutStateChanged() {}
    // The read-out is known under another name (an autosave that had to take the next number).
    virtual void ReadOutRenamed() {}
};

class ReadOut {
public:
    ReadOut() = default;
    ReadOut(const ReadOut&) = delete;
    ReadOut& operator=(const ReadOut&) = delete;

    // Which read-out it is and what is in it, as the report, the chart and the export take it.
    const ReadOutData& Data() const { return data_; }
    const RecordStore& Store() const { return data_.store; }
    // The store a running read fills; its entries count only once EntryArrived names them.
    RecordStore& StoreToFill() { return data_.store; }
    const std::string& Name() const { return data_.name; }
    ReadOutOrigin Origin() const { return data_.origin; }
    // The port of a read, the path of an opened file.
    const std::string& Source() const { return data_.source; }
    // The unit's serial number; empty where nothing says it.
    const std::string& Serial() const { return data_.serial; }
    ReadOutState State() const { return state_; }
    // A read-out that may be looked at as a whole: not empty and not being read.
    bool Settled() const { return state_ == ReadOutState::Complete || state_ == ReadOutState::Stopped; }

    bool Arrived(EntryRef entry) const { return data_.in.Has(entry); }
    // One past the last entry in so far: the entry columns a grid shows.
    std::size_t Extent(InfoBlock block) const { return extent_[Index(block)]; }
    // Entries in so far, gaps (entries that failed) not counted.
    std::size_t ArrivedCount(InfoBlock block) const { return data_.in.Count(block); }
    // The entries in so far.
    const EntrySet& Entries() const { return data_.in; }

    // A loaded read-out: Complete, or Stopped when it is partial (a kept read-out of a read that
    // stopped, of which only the entries of data.in are in).
    void Open(ReadOutData data);
    // A read of the unit `serial` on `port` starts from `store`: zero slots, or those of a kept
    // read-out it continues, which count as in only once EntriesKept names them.
    void StartRead(RecordStore store, std::string serial, std::string name, std::string port);
    void EntryArrived(EntryRef entry);
    // A continued read: the entries kept from the read before, their slots already in the store.
    // Followers hear of them one run of neighbouring entries at a time.
    void EntriesKept(const EntrySet& in);
    void Rename(std::string name);
    // The read ended: Complete or Stopped.
    void EndRead(ReadOutState state);

    void Follow(ReadOutFollower& follower);
    void Unfollow(ReadOutFollower& follower);

private:
    static std::size_t Index(InfoBlock block) { return block == InfoBlock::GInfo ? 0 : 1; }
    // Other entries altogether, in data_ already but for the entries in: followers are told.
    void Replace(const EntrySet& in, ReadOutState state);
    void SetState(ReadOutState state);
    // Marks the entries of `in`; tells the followers when asked to.
    void Mark(const EntrySet& in, bool tell);
    template <typename Call> void Tell(Call call);

    ReadOutData data_;
    ReadOutState state_ = ReadOutState::Empty;
    std::size_t extent_[2] = {0, 0};
    std::vector<ReadOutFollower*> followers_;
};

} // namespace lexorant
