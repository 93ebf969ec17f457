#pragma once
// The entries of one block of a read-out, found by their slot bytes: each entry can be matched once,
// copies of the same bytes in the order they were added.
#include "compare/slot_hash.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lexorant {

using SlotHasher = std::uint64_t (*)(const std::uint8_t* bytes, std::size_t size);

class SlotIndex {
public:
    // `expected`: about how many slots will be added. `hash` is for tests that force collisions.
    explicit SlotIndex(std::size_t slotSize, std::size_t expected = 0, SlotHasher hash = SlotHash);

    // Adds entry `index` with the slot's bytes (copied).
    void Add(std::uint16_t index, const std::uint8_t* slot);
    // The earliest added entry with exactly these bytes that no Take has returned yet; nothing when
    // there is none (never held, or every copy matched already).
    std::optional<std::uint16_t> Take(const std::uint8_t* slot);

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Group {                  // one distinct content
        std::uint32_t firstLeft;    // member not yet taken, or kNone
        std::uint32_t last;         // the member added last, to append to
        std::uint32_t nextSameHash; // another content of the same hash, or kNone
    };
    struct Member {
        std::uint16_t index;
        std::uint32_t next; // the next member of the same group, or kNone
    };

    std::size_t BucketOf(std::uint64_t hash) const;
    std::uint32_t GroupOf(std::size_t bucket, const std::uint8_t* slot) const;
    void Grow();

    std::size_t slotSize_;
    SlotHasher hash_;
    std::vector<std::uint8_t> bytes_; // the bytes of each group, slotSize_ apart
    std::vector<Group> groups_;
    std::vector<Member> members_;
    // Open addressing: the hash of a bucket and the first group with that hash (kNone: empty).
    std::vector<std::uint64_t> bucketHash_;
    std::vector<std::uint32_t> bucketGroup_;
};

} // namespace lexorant
