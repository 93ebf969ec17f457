#pragma once
// Which entries of a read-out are in: read good from the unit, or kept from a read that stopped.
#include "readout/entry_ref.h"
#include "readout/info_header.h"

#include <cstddef>
#include <vector>

namespace lexorant {

class EntrySet {
public:
    EntrySet() = default;
    // Sized for both blocks, empty.
    EntrySet(const InfoHeader& g, const InfoHeader& x) : g_(g.EntryCount, false), x_(x.EntryCount, false) {}

    bool Has(EntryRef entry) const {
        const auto& bits = Bits(entry.block);
        return entry.index < bits.size() && bits[entry.index];
    }
    void Add(EntryRef entry) {
        auto& bits = entry.block == InfoBlock::GInfo ? g_ : x_;
        if (entry.index < bits.size() && !bits[entry.index]) {
            bits[entry.index] = true;
            ++count_;
        }
    }
    std::size_t Count() const { return count_; }
    // The entries of a block that are in.
    std::size_t Count(InfoBlock block) const {
        std::size_t n = 0;
        for (const bool in : Bits(block))
            n += in ? 1 : 0;
        return n;
    }
    // Entries the set is sized for: of one block, of both.
    std::size_t Size(InfoBlock block) const { return Bits(block).size(); }
    std::size_t Size() const { return g_.size() + x_.size(); }
    bool Complete() const { return count_ == Size(); }

    friend bool operator==(const EntrySet&, const EntrySet&) = default;

private:
    const std::vector<bool>& Bits(InfoBlock block) const { return block == InfoBlock::GInfo ? g_ : x_; }
    std::vector<bool> g_, x_;
    std::size_t count_ = 0;
};

} // namespace lexorant
