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

void ReadOut::Open(ReadOutData data) {
    const EntrySet in = std::move(data.in);
    const ReadOutState state = data.partial ? ReadOutState::Stopped : ReadOutState::Complete;
    data_ = std::move(data);
    Replace(in, state);
}

void ReadOut::StartRead(RecordStore store, std::string serial, std::string name, std::string port) {
    data_.store = std::move(store);
    data_.serial = std::move(serial);
    data_.name = std::move(name);
    data_.source = std::move(port);
    data_.origin = ReadOutOrigin::Unit;
    data_.partial = true; // until the read has run to its end
    data_.damaged = false;
    Replace(EntrySet(), ReadOutState::Reading);
}

void ReadOut::Replace(const EntrySet& in, ReadOutState state) {
    data_.in = EntrySet(data_.store.GInfo, data_.store.XInfo);
    extent_[0] = extent_[1] = 0;
    Mark(in, false);
    state_ = state;
    Tell([](ReadOutFollower& f) { f.ReadOutReplaced(); });
}

void ReadOut::EntryArrived(EntryRef entry) {
    if (entry.index >= data_.in.Size(entry.block))
        return;
    data_.in.Add(entry);
    std::size_t& extent = extent_[Index(entry.block)];
    extent = std::max(extent, static_cast<std::size_t>(entry.index) + 1);
    Tell([&](ReadOutFollower& f) { f.EntriesArrived(entry.block, entry.index, 1); });
}

void ReadOut::EntriesKept(const EntrySet& in) {
    Mark(in, true);
}

void ReadOut::Mark(const EntrySet& in, bool tell) {
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo}) {
        const std::size_t size = std::min(data_.in.Size(block), in.Size(block));
        const auto has = [&](std::size_t i) { return in.Has({block, static_cast<std::uint16_t>(i)}); };
        for (std::size_t i = 0; i < size;) {
            if (!has(i)) {
                ++i;
                continue;
            }
            const std::size_t first = i;
            for (; i < size && has(i); ++i)
                data_.in.Add({block, static_cast<std::uint16_t>(i)});
            std::size_t& extent = extent_[Index(block)];
            extent = std::max(extent, i);
            if (tell)
                Tell([&](ReadOutFollower& f) { f.EntriesArrived(block, first, i - first); });
        }
    }
}

void ReadOut::Rename(std::string name) {
    if (name == data_.name)
        return;
    data_.name = std::move(name);
    Tell([](ReadOutFollower& f) { f.ReadOutRenamed(); });
}

void ReadOut::EndRead(ReadOutState state) {
    if (state_ != ReadOutState::Reading)
        return;
    data_.partial = state != ReadOutState::Complete;
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
