#include "compare/read_out_comparison.h"

#include "records/message_overview.h"

#include <algorithm>

namespace lexorant {

namespace {

constexpr std::size_t kCodes = 65536;

} // namespace

std::size_t StoredEntries(const RecordStore& store, InfoBlock block) {
    const std::vector<std::uint8_t>& slots = block == InfoBlock::GInfo ? store.GInfoSlots : store.XInfoSlots;
    return std::min<std::size_t>(HeaderOf(store, block).EntryCount, slots.size() / SlotSizeOf(block));
}

ReadOutComparison::Block::Block(const RecordStore& older, InfoBlock block)
    : index(std::span(block == InfoBlock::GInfo ? older.GInfoSlots : older.XInfoSlots)
                .first(StoredEntries(older, block) * SlotSizeOf(block)),
            SlotSizeOf(block)) {}

ReadOutComparison::ReadOutComparison(const ReadOutData& older, const InfoHeader& newerG,
                                     const InfoHeader& newerX)
    : blocks_{Block(older.store, InfoBlock::GInfo), Block(older.store, InfoBlock::XInfo)},
      earlierCode_(kCodes, false), newOfCode_(kCodes, 0) {
    for (const InfoBlock b : {InfoBlock::GInfo, InfoBlock::XInfo}) {
        Block& block = BlockOf(b);
        const std::size_t stored = StoredEntries(older.store, b);
        block.earlier.assign(stored, Earlier::NotRead);
        for (std::size_t i = 0; i < stored; ++i) {
            const EntryRef entry{b, static_cast<std::uint16_t>(i)};
            if (!older.in.Has(entry)) {
                ++block.earlierNotRead;
                continue;
            }
            const std::uint8_t* slot = SlotOf(older.store, entry);
            if (IsZeroSlot(slot, SlotSizeOf(b))) {
                block.earlier[i] = Earlier::Empty;
                continue;
            }
            block.earlier[i] = Earlier::Held;
            block.index.Add(entry.index);
            earlierCode_[CodeSlot(OverviewHeadOf(slot).MessageCode)] = true;
            ++block.held;
        }
        block.newer.assign((b == InfoBlock::GInfo ? newerG : newerX).EntryCount, EntryClass::NotRead);
    }
}

EntryClass ReadOutComparison::Classify(EntryRef entry, const std::uint8_t* slot) {
    Block& block = BlockOf(entry.block);
    if (entry.index >= block.newer.size())
        return EntryClass::NotRead;
    EntryClass& cls = block.newer[entry.index];
    if (cls != EntryClass::NotRead)
        return cls;
    if (IsZeroSlot(slot, SlotSizeOf(entry.block))) {
        ++block.empty;
        return cls = EntryClass::Empty;
    }
    if (const auto match = block.index.Take(slot)) {
        block.earlier[*match] = Earlier::Matched;
        ++block.known;
        return cls = EntryClass::Known;
    }
    ++block.added;
    ++newOfCode_[CodeSlot(OverviewHeadOf(slot).MessageCode)];
    return cls = EntryClass::New;
}

EntryClass ReadOutComparison::ClassOf(EntryRef entry) const {
    const Block& block = BlockOf(entry.block);
    return entry.index < block.newer.size() ? block.newer[entry.index] : EntryClass::NotRead;
}

ComparisonCounts ReadOutComparison::Counts(InfoBlock b) const {
    const Block& block = BlockOf(b);
    ComparisonCounts counts;
    counts.added = block.added;
    counts.known = block.known;
    counts.gone = block.held - block.known;
    counts.empty = block.empty;
    counts.notRead = block.newer.size() - block.added - block.known - block.empty;
    counts.earlierNotRead = block.earlierNotRead;
    return counts;
}

std::vector<std::int16_t> ReadOutComparison::NewCodes() const {
    std::vector<std::int16_t> codes;
    for (std::size_t c = 0; c < kCodes; ++c)
        if (newOfCode_[c] > 0 && !earlierCode_[c])
            codes.push_back(static_cast<std::int16_t>(static_cast<int>(c) - 32768));
    return codes;
}

std::vector<EntryRef> ReadOutComparison::NewEntries(InfoBlock b) const {
    std::vector<EntryRef> entries;
    const Block& block = BlockOf(b);
    entries.reserve(block.added);
    for (std::size_t i = 0; i < block.newer.size(); ++i)
        if (block.newer[i] == EntryClass::New)
            entries.push_back({b, static_cast<std::uint16_t>(i)});
    return entries;
}

std::vector<EntryRef> ReadOutComparison::GoneEntries(InfoBlock b) const {
    std::vector<EntryRef> entries;
    const Block& block = BlockOf(b);
    for (std::size_t i = 0; i < block.earlier.size(); ++i)
        if (block.earlier[i] == Earlier::Held)
            entries.push_back({b, static_cast<std::uint16_t>(i)});
    return entries;
}

ReadOutComparison Compare(const ReadOutData& older, const RecordStore& newer, const EntrySet& newerIn) {
    ReadOutComparison comparison(older, newer.GInfo, newer.XInfo);
    for (const InfoBlock b : {InfoBlock::GInfo, InfoBlock::XInfo}) {
        const std::size_t stored = StoredEntries(newer, b);
        for (std::size_t i = 0; i < stored; ++i) {
            const EntryRef entry{b, static_cast<std::uint16_t>(i)};
            if (newerIn.Has(entry))
                comparison.Classify(newer, entry);
        }
    }
    return comparison;
}

ReadOutComparison Compare(const ReadOutData& older, const ReadOutData& newer) {
    return Compare(older, newer.store, newer.in);
}

} // namespace lexorant
