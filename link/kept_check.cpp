#include "link/kept_check.h"

#include "link/protocol.h"
#include "link/serial_port.h"
#include "readout/entry_set.h"
#include "readout/entry_time.h"
#include "readout/record_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace lexorant {

namespace {

// Per block: the newest entries kept, each with the slot after it.
constexpr std::size_t kNewestPerBlock = 4;

std::optional<std::int64_t> TimeOf(const RecordStore& store, EntryRef entry) {
    const std::uint8_t* slot = SlotOf(store, entry);
    return EntryTimeMs(InfoTimeStamp{slot[1], slot[2], slot[3], slot[4], slot[5], slot[6]});
}

void AddOnce(std::vector<EntryRef>& list, EntryRef entry) {
    if (std::find(list.begin(), list.end(), entry) == list.end())
        list.push_back(entry);
}

std::vector<EntryRef> KeptOf(const EntrySet& in, InfoBlock block) {
    std::vector<EntryRef> kept;
    for (std::size_t i = 0; i < in.Size(block); ++i)
        if (const EntryRef entry{block, static_cast<std::uint16_t>(i)}; in.Has(entry))
            kept.push_back(entry);
    return kept;
}

// The newest kept entries by their time stamps, and the slot after each where it is kept too: the one
// a log that is full overwrites next.
void AddNewest(std::vector<EntryRef>& asked, const RecordStore& store, const EntrySet& in,
               const std::vector<EntryRef>& kept) {
    std::vector<std::pair<std::int64_t, EntryRef>> dated;
    for (const EntryRef entry : kept)
        if (const auto time = TimeOf(store, entry))
            dated.emplace_back(*time, entry);
    const std::size_t newest = std::min(kNewestPerBlock, dated.size());
    std::partial_sort(dated.begin(), dated.begin() + static_cast<std::ptrdiff_t>(newest), dated.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    const std::size_t count = in.Size(kept.front().block);
    for (std::size_t i = 0; i < newest; ++i) {
        const EntryRef entry = dated[i].second;
        AddOnce(asked, entry);
        const EntryRef next{entry.block, static_cast<std::uint16_t>((entry.index + 1u) % count)};
        if (in.Has(next))
            AddOnce(asked, next);
    }
}

// The first and the last entry of every run of kept entries.
std::vector<EntryRef> RunEnds(const std::vector<EntryRef>& kept) {
    std::vector<EntryRef> ends;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const bool first = i == 0 || kept[i - 1].index + 1 != kept[i].index;
        const bool last = i + 1 == kept.size() || kept[i].index + 1 != kept[i + 1].index;
        if (first || last)
            ends.push_back(kept[i]);
    }
    return ends;
}

} // namespace

KeptCheck CheckKeptEntry(SerialPort& port, const RecordStore& kept, EntryRef entry) {
    const InfoHeader& header = HeaderOf(kept, entry.block);
    const std::size_t slotSize = SlotSizeOf(entry.block);
    std::vector<std::uint8_t> slot(slotSize, 0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Exchanged exchanged =
            port.Exchange(EntryRequest(LetterOf(entry.block), entry.index), header.AnswerLength);
        if (EvaluateEntryAnswer(exchanged.answer, header.AnswerLength, slot.data(), slotSize) ==
            EntryOutcome::Good)
            return std::memcmp(slot.data(), SlotOf(kept, entry), slotSize) == 0 ? KeptCheck::Same
                                                                                : KeptCheck::Changed;
    }
    return KeptCheck::NoAnswer;
}

std::vector<EntryRef> KeptEntriesToCheck(const RecordStore& kept, const EntrySet& in) {
    std::vector<EntryRef> asked;
    std::vector<EntryRef> ends;
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo}) {
        const auto entries = KeptOf(in, block);
        if (entries.empty())
            continue;
        AddNewest(asked, kept, in, entries);
        const auto blockEnds = RunEnds(entries);
        ends.insert(ends.end(), blockEnds.begin(), blockEnds.end());
    }
    std::erase_if(ends, [&](EntryRef e) { return std::find(asked.begin(), asked.end(), e) != asked.end(); });
    // A read with many failed entries leaves many runs: their ends are taken evenly spread, the very
    // first and the very last always among them.
    const std::size_t room =
        kMostKeptEntriesChecked > asked.size() ? kMostKeptEntriesChecked - asked.size() : 0;
    if (ends.size() <= room) {
        asked.insert(asked.end(), ends.begin(), ends.end());
    } else if (room == 1) {
        asked.push_back(ends.front());
    } else {
        for (std::size_t i = 0; i < room; ++i)
            AddOnce(asked, ends[i * (ends.size() - 1) / (room - 1)]);
    }
    return asked;
}

KeptCheckResult CheckKeptEntries(SerialPort& port, const RecordStore& kept, const EntrySet& in) {
    KeptCheckResult result;
    result.check = KeptCheck::Same;
    for (const EntryRef entry : KeptEntriesToCheck(kept, in)) {
        result.entry = entry;
        result.count = HeaderOf(kept, entry.block).EntryCount;
        result.check = CheckKeptEntry(port, kept, entry);
        if (result.check != KeptCheck::Same)
            break;
    }
    return result;
}

} // namespace lexorant
