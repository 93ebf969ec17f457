#include "readout/read_out.h"

#include <algorithm>

namespace lexorant {

template <typename Call> void ReadOut::Tell(Call call) {
    // A follower may stop following while it is told.
    const std::vector<ReadOutFollower*> followers = followers_;
    for (ReadOutFollower* f : followers)
        if (std::find(followers_.begin(), followers_.end(), f) != followers_.end())
            call(*f);
}

void ReadOut::Open(RecordStore store, std::string name, std::string path) {
    store_ = std::move(store);
    Replace(std::move(name), std::move(path), ReadOutOrigin::File, EntrySet::All(store_.GInfo, store_.XInfo),
            ReadOutState::Complete);
}

void ReadOut::OpenStopped(RecordStore store, const EntrySet& in, std::string name, std::string path) {
    store_ = std::move(store);
    Replace(std::move(name), std::move(path), ReadOutOrigin::File, in, ReadOutState::Stopped);
}

void ReadOut::StartRead(const InfoHeader& gInfo, const InfoHeader& xInfo, std::string name, std::string port) {
    store_.Replace(gInfo, xInfo);
    Replace(std::move(name), std::move(port), ReadOutOrigin::Unit, EntrySet(), ReadOutState::Reading);
}

void ReadOut::Replace(std::string name, std::string source, ReadOutOrigin origin, const EntrySet& in,
                      ReadOutState state) {
    name_ = std::move(name);
    source_ = std::move(source);
    origin_ = origin;
    in_ = EntrySet(store_.GInfo, store_.XInfo);
    extent_[0] = extent_[1] = 0;
    Mark(in, false);
    state_ = state;
    Tell([](ReadOutFollower& f) { f.ReadOutReplaced(); });
}

void ReadOut::EntryArrived(EntryRef entry) {
    if (entry.index >= in_.Size(entry.block))
        return;
    in_.Add(entry);
    std::size_t& extent = extent_[Index(entry.block)];
    extent = std::max(extent, static_cast<std::size_t>(entry.index) + 1);
    Tell([&](ReadOutFollower& f) { f.EntriesArrived(entry.block, entry.index, 1); });
}

void ReadOut::EntriesKept(const EntrySet& in) { Mark(in, true); }

void ReadOut::Mark(const EntrySet& in, bool tell) {
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo}) {
        const std::size_t size = std::min(in_.Size(block), in.Size(block));
        const auto has = [&](std::size_t i) { return in.Has({block, static_cast<std::uint16_t>(i)}); };
        for (std::size_t i = 0; i < size;) {
            if (!has(i)) {
                ++i;
                continue;
            }
            const std::size_t first = i;
            for (; i < size && has(i); ++i)
                in_.Add({block, static_cast<std::uint16_t>(i)});
            std::size_t& extent = extent_[Index(block)];
            extent = std::max(extent, i);
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
