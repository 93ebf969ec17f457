#include "compare/slot_index.h"

#include <cstring>

namespace lexorant {

SlotIndex::SlotIndex(std::span<const std::uint8_t> slots, std::size_t slotSize, SlotHasher hash)
    : slots_(slots.begin(), slots.end()), slotSize_(slotSize),
      entries_(slotSize == 0 ? 0 : slots.size() / slotSize), hash_(hash) {
    const std::size_t expected = entries_;
    // Twice as many buckets as entries: at most half of them are ever taken, so probes stay short and
    // the table never grows.
    std::size_t buckets = 16;
    while (buckets < 2 * expected)
        buckets *= 2;
    buckets_.resize(buckets);
    groups_.reserve(expected);
    members_.reserve(expected);
}

std::size_t SlotIndex::BucketOf(std::uint64_t hash) const {
    const std::size_t mask = buckets_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    std::size_t b = static_cast<std::size_t>(hash) & mask;
    while (buckets_[b].group != kNone && buckets_[b].tag != tag)
        b = (b + 1) & mask;
    return b;
}

std::uint32_t SlotIndex::GroupOf(std::size_t bucket, const std::uint8_t* slot) const {
    for (std::uint32_t g = buckets_[bucket].group; g != kNone; g = groups_[g].nextSameHash)
        if (std::memcmp(Slot(groups_[g].entry), slot, slotSize_) == 0)
            return g;
    return kNone;
}

void SlotIndex::Add(std::uint16_t index) {
    if (index >= entries_ || members_.size() >= entries_)
        return;
    const std::uint8_t* slot = Slot(index);
    const std::uint64_t hash = hash_(slot, slotSize_);
    const std::size_t bucket = BucketOf(hash);
    std::uint32_t g = GroupOf(bucket, slot);
    const auto member = static_cast<std::uint32_t>(members_.size());
    members_.push_back({index, kNone});
    if (g != kNone) {
        Group& group = groups_[g];
        if (group.firstLeft == kNone)
            group.firstLeft = member;
        else
            members_[group.last].next = member;
        group.last = member;
        return;
    }
    g = static_cast<std::uint32_t>(groups_.size());
    groups_.push_back({member, member, buckets_[bucket].group, index});
    buckets_[bucket] = {static_cast<std::uint32_t>(hash >> 32), g};
}

std::optional<std::uint16_t> SlotIndex::Take(const std::uint8_t* slot) {
    const std::uint32_t g = GroupOf(BucketOf(hash_(slot, slotSize_)), slot);
    if (g == kNone || groups_[g].firstLeft == kNone)
        return std::nullopt;
    Group& group = groups_[g];
    const Member& taken = members_[group.firstLeft];
    group.firstLeft = taken.next;
    return taken.index;
}

} // namespace lexorant
