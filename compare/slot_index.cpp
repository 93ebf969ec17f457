#include "compare/slot_index.h"

#include <cstring>

namespace lexorant {

SlotIndex::SlotIndex(std::size_t slotSize, std::size_t expected, SlotHasher hash)
    : slotSize_(slotSize), hash_(hash) {
    std::size_t buckets = 16;
    while (buckets < 2 * expected)
        buckets *= 2;
    bucketHash_.assign(buckets, 0);
    bucketGroup_.assign(buckets, kNone);
    groups_.reserve(expected);
    members_.reserve(expected);
    bytes_.reserve(expected * slotSize);
}

std::size_t SlotIndex::BucketOf(std::uint64_t hash) const {
    const std::size_t mask = bucketGroup_.size() - 1;
    std::size_t b = static_cast<std::size_t>(hash) & mask;
    while (bucketGroup_[b] != kNone && bucketHash_[b] != hash)
        b = (b + 1) & mask;
    return b;
}

std::uint32_t SlotIndex::GroupOf(std::size_t bucket, const std::uint8_t* slot) const {
    for (std::uint32_t g = bucketGroup_[bucket]; g != kNone; g = groups_[g].nextSameHash)
        if (std::memcmp(bytes_.data() + std::size_t{g} * slotSize_, slot, slotSize_) == 0)
            return g;
    return kNone;
}

void SlotIndex::Grow() {
    std::vector<std::uint64_t> oldHash = std::move(bucketHash_);
    std::vector<std::uint32_t> oldGroup = std::move(bucketGroup_);
    bucketHash_.assign(oldHash.size() * 2, 0);
    bucketGroup_.assign(oldHash.size() * 2, kNone);
    for (std::size_t b = 0; b < oldHash.size(); ++b) {
        if (oldGroup[b] == kNone)
            continue;
        const std::size_t to = BucketOf(oldHash[b]);
        bucketHash_[to] = oldHash[b];
        bucketGroup_[to] = oldGroup[b];
    }
}

void SlotIndex::Add(std::uint16_t index, const std::uint8_t* slot) {
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
    bytes_.insert(bytes_.end(), slot, slot + slotSize_);
    groups_.push_back({member, member, bucketGroup_[bucket]});
    bucketHash_[bucket] = hash;
    bucketGroup_[bucket] = g;
    // Buckets at most half full keep the probes short.
    if (groups_.size() * 2 > bucketGroup_.size())
        Grow();
}

std::optional<std::uint16_t> SlotIndex::Take(const std::uint8_t* slot) {
    const std::size_t bucket = BucketOf(hash_(slot, slotSize_));
    const std::uint32_t g = GroupOf(bucket, slot);
    if (g == kNone || groups_[g].firstLeft == kNone)
        return std::nullopt;
    Group& group = groups_[g];
    const Member& taken = members_[group.firstLeft];
    group.firstLeft = taken.next;
    return taken.index;
}

} // namespace lexorant
