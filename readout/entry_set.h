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
    // Sized for both blocks, every entry in.
    static EntrySet All(const InfoHeader& g, const InfoHeader& x) {
        EntrySet set;
        set.g_.assign(g.EntryCount, true);
        set.x_.assign(x.EntryCount, true);
        set.gCount_ = g.EntryCount;
        set.xCount_ = x.EntryCount;
        return set;
    }

    bool Has(EntryRef entry) const {
        const auto& bits = Bits(entry.block);
        return entry.index < bits.size() && bits[entry.index];
    }
    void Add(EntryRef entry) {
        const bool g = entry.block == InfoBlock::GInfo;
        auto& bits = g ? g_ : x_;
        if (entry.index < bits.size() && !bits[entry.index]) {
            bits[entry.index] = true;
            ++(g ? gCount_ : xCount_);
        }
    }
    std::size_t Count() const { return gCount_ + xCount_; }
    // The entries of a block that are in.
    std::size_t Count(InfoBlock block) const { return block == InfoBlock::GInfo ? gCount_ : xCount_; }
    // Entries the set is sized for: of one block, of both.
    std::size_t Size(InfoBlock block) const { return Bits(block).size(); }
    std::size_t Size() const { return g_.size() + x_.size(); }
    bool Complete() const { return Count() == Size(); }

    // Calls visit(EntryRef) for every entry in: the G-Info block, then the X-Info block, each in order.
    template <typename Visit> void ForEach(Visit&& visit) const {
        for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo}) {
            const auto& bits = Bits(block);
            for (std::size_t i = 0; i < bits.size(); ++i)
                if (bits[i])
                    visit(EntryRef{block, static_cast<std::uint16_t>(i)});
        }
    }

    friend bool operator==(const EntrySet&, const EntrySet&) = default;

private:
    const std::vector<bool>& Bits(InfoBlock block) const { return block == InfoBlock::GInfo ? g_ : x_; }
    std::vector<bool> g_, x_;
    std::size_t gCount_ = 0, xCount_ = 0;
};

} // namespace lexorant
