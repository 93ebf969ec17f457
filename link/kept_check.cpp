#include "link/kept_check.h"

#include "link/protocol.h"
#include "link/serial_port.h"
#include "readout/entry_set.h"
#include "readout/record_store.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lexorant {

namespace {

// The kept entries to ask, in that order.
std::vector<EntryRef> EntriesToAsk(const EntrySet& in) {
    std::vector<EntryRef> all;
    all.reserve(in.Count());
    in.ForEach([&all](EntryRef entry) { all.push_back(entry); });
    std::vector<EntryRef> asked;
    for (const std::size_t at : {all.size() - 1, std::size_t{0}, all.size() / 2})
        if (at < all.size() && std::find(asked.begin(), asked.end(), all[at]) == asked.end())
            asked.push_back(all[at]);
    return asked;
}

} // namespace

KeptCheckResult CheckKeptEntries(SerialPort& port, const RecordStore& kept, const EntrySet& in) {
    KeptCheckResult result;
    if (in.Count() == 0) {
        result.check = KeptCheck::Same;
        return result;
    }
    for (const EntryRef entry : EntriesToAsk(in)) {
        const InfoHeader& header = HeaderOf(kept, entry.block);
        const std::size_t slotSize = SlotSizeOf(entry.block);
        std::vector<std::uint8_t> slot(slotSize, 0);
        result.entry = entry;
        result.count = header.EntryCount;
        const Exchanged exchanged = port.Exchange(EntryRequest(LetterOf(entry.block), entry.index), header.AnswerLength);
        if (EvaluateEntryAnswer(exchanged.answer, header.AnswerLength, slot.data(), slotSize) != EntryOutcome::Good)
            continue;
        result.check = std::memcmp(slot.data(), SlotOf(kept, entry), slotSize) == 0 ? KeptCheck::Same : KeptCheck::Changed;
        return result;
    }
    result.check = KeptCheck::NoAnswer;
    return result;
}

} // namespace lexorant
