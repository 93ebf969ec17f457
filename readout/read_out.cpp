#include "readout/read_out.h"

#include "readout/entry_set.h"

#include <algorithm>

namespace lexorant {

template <typename Call> void ReadOut::Tell(Call call) {
    // A follower may stop following while it is told.
    const std::vector<ReadOutFollower*> followers = followers_;
    for (ReadOutFollower* f : followers)
        if (std::find(followers_.begin(), followers_.end(), f) != followers_.end())
            call(*f);
}

bool ReadOut::Arrived(EntryRef entry) const {
    const BlockPart& part = Part(entry.block);
    return entry.index < part.in.size() && part.in[entry.index];
}

void ReadOut::Open(RecordStore store, std::string name, std::string path) {
    store_ = std::move(store);
    name_ = std::move(name);
    source_ = std::move(path);
    origin_ = ReadOutOrigin::File;
    const std::size_t g = store_.GInfo.EntryCount;
    const std::size_t x = store_.XInfo.EntryCount;
    g_ = {std::vector<bool>(g, true), g, g};
    x_ = {std::vector<bool>(x, true), x, x};
    state_ = ReadOutState::Complete;
    Tell([](ReadOutFollower& f) { f.ReadOutReplaced(); });
}

void ReadOut::OpenStopped(RecordStore store, const EntrySet& in, std::string name, std::string path) {
    store_ = std::move(store);
    name_ = std::move(name);
    source_ = std::move(path);
    origin_ = ReadOutOrigin::File;
    g_ = {std::vector<bool>(store_.GInfo.EntryCount, false), 0, 0};
    x_ = {std::vector<bool>(store_.XInfo.EntryCount, false), 0, 0};
    Mark(in, false);
    state_ = ReadOutState::Stopped;
    Tell([](ReadOutFollower& f) { f.ReadOutReplaced(); });
}

void ReadOut::StartRead(const InfoHeader& gInfo, const InfoHeader& xInfo, std::string name, std::string port) {
    store_.Replace(gInfo, xInfo);
    name_ = std::move(name);
    source_ = std::move(port);
    origin_ = ReadOutOrigin::Unit;
    g_ = {std::vector<bool>(gInfo.EntryCount, false), 0, 0};
    x_ = {std::vector<bool>(xInfo.EntryCount, false), 0, 0};
    state_ = ReadOutState::Reading;
    Tell([](ReadOutFollower& f) { f.ReadOutReplaced(); });
}

void ReadOut::EntryArrived(EntryRef entry) {
    BlockPart& part = Part(entry.block);
    if (entry.index >= part.in.size())
        return;
    if (!part.in[entry.index]) {
        part.in[entry.index] = true;
        ++part.count;
    }
    part.extent = std::max(part.extent, static_cast<std::size_t>(entry.index) + 1);
    Tell([&](ReadOutFollower& f) { f.EntriesArrived(entry.block, entry.index, 1); });
}

EntrySet ReadOut::Entries() const {
    EntrySet set(store_.GInfo, store_.XInfo);
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo})
        for (std::size_t i = 0; i < Part(block).in.size(); ++i)
            if (Part(block).in[i])
                set.Add({block, static_cast<std::uint16_t>(i)});
    return set;
}

void ReadOut::EntriesKept(const EntrySet& in) { Mark(in, true); }

void ReadOut::Mark(const EntrySet& in, bool tell) {
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo}) {
        BlockPart& part = Part(block);
        const std::size_t size = std::min(part.in.size(), in.Size(block));
        for (std::size_t i = 0; i < size;) {
            if (!in.Has({block, static_cast<std::uint16_t>(i)})) {
                ++i;
                continue;
            }
            const std::size_t first = i;
            for (; i < size && in.Has({block, static_cast<std::uint16_t>(i)}); ++i) {
                if (!part.in[i]) {
                    part.in[i] = true;
                    ++part.count;
                }
            }
            part.extent = std::max(part.extent, i);
            if (tell)
                Tell([&](ReadOutFollower& f) { f.EntriesArrived(block, first, i - first); });
        }
    }
}

void ReadOut::Rename(std::string name) {
    if (name == name_)
        return;
    name_ = std::move(name);
    Tell([](ReadOutFollower& f) { f.ReadOutRenamed(); });
}

void ReadOut::EndRead(ReadOutState state) {
    if (state_ == ReadOutState::Reading)
        SetState(state);
}

void ReadOut::SetState(ReadOutState state) {
    if (state == state_)
        return;
    state_ = state;
    Tell([](ReadOutFollower& f) { f.ReadOutStateChanged(); });
}

void ReadOut::Follow(ReadOutFollower& follower) {
    if (std::find(followers_.begin(), followers_.end(), &follower) == followers_.end())
        followers_.push_back(&follower);
}

void ReadOut::Unfollow(ReadOutFollower& follower) {
    followers_.erase(std::remove(followers_.begin(), followers_.end(), &follower), followers_.end());
}

} // namespace lexorant
