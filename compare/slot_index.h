#pragma once
// The entries of one block of a read-out, found by their slot bytes: each entry can be matched once,
// copies of the same bytes in the order they were added.
#include "compare/slot_hash.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lexorant {

using SlotHasher = std::uint64_t (*)(const std::uint8_t* bytes, std::size_t size);

class SlotIndex {
public:
    // `slots`: the block's slots, `slotSize` bytes each, copied (the index does not refer to them).
    // `hash` is for tests that force collisions.
    SlotIndex(std::span<const std::uint8_t> slots, std::size_t slotSize, SlotHasher hash = SlotHash);

    // Makes entry `index` of the block findable; each entry once. Indices beyond the slots, and more
    // entries than the block holds, are not taken (so the table can never fill up).
    void Add(std::uint16_t index);
    // The earliest added entry with exactly these bytes that no Take has returned yet; nothing when
    // there is none (never held, or every copy matched already).
    std::optional<std::uint16_t> Take(const std::uint8_t* slot);

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Group {                  // one distinct content
        std::uint32_t firstLeft;    // member not yet taken, or kNone
        std::uint32_t last;         // the member added last, to append to
        std::uint32_t nextSameHash; // another content of the same hash, or kNone
        std::uint16_t entry;        // an entry with the content
    };
    struct Member {
        std::uint16_t index;
        std::uint32_t next; // the next member of the same group, or kNone
    };
    // Open addressing: the hash's upper half and the first group with that hash (kNone: empty).
    // Half a hash is enough to tell buckets apart; the bytes decide.
    struct Bucket {
        std::uint32_t tag = 0;
        std::uint32_t group = kNone;
    };

    const std::uint8_t* Slot(std::uint16_t index) const {
        return slots_.data() + std::size_t{index} * slotSize_;
    }
    std::size_t BucketOf(std::uint64_t hash) const;
    std::uint32_t GroupOf(std::size_t bucket, const std::uint8_t* slot) const;

    std::vector<std::uint8_t> slots_;
    std::size_t slotSize_;
    std::size_t entries_; // slots in slots_
    SlotHasher hash_;
    std::vector<Group> groups_;
    std::vector<Member> members_;
    std::vector<Bucket> buckets_;
};

} // namespace lexorant
