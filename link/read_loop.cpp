#include "link/read_loop.h"

#include "readout/record_store.h"
#include "link/serial_port.h"

namespace lexorant {

namespace {
bool StopRequested(const ReadJob& job) { return job.stop && job.stop->load(std::memory_order_acquire); }
} // namespace

std::string ReadingText(char letter, int number, int count) {
    return "Reading " + std::string(1, letter) + "-Info " + std::to_string(number) + " of " + std::to_string(count);
}

std::string BlockDoneText(char letter, int count) {
    return std::to_string(count) + " " + std::string(1, letter) + "-Infos read";
}

BlockTally ReadBlock(ReadJob& job, char letter, int count, std::size_t answerLength, std::uint8_t* slots,
                     std::size_t slotSize) {
    BlockTally tally;
    for (int index = 0; index < count; ++index) {
        if (StopRequested(job))
            return tally;
        job.steps.ShowStatus(ReadingText(letter, index + 1, count));
        std::uint8_t* slot = slots + static_cast<std::size_t>(index) * slotSize;
        const std::string answer = job.port.Exchange(EntryRequest(letter, index), answerLength).answer;
        const EntryOutcome outcome = EvaluateEntryAnswer(answer, answerLength, slot, slotSize);
        if (outcome == EntryOutcome::Good) {
            ++tally.good;
            if (letter == 'G')
                job.steps.ShowGInfoEntry(index);
            else
                job.steps.ShowXInfoEntry(index);
        } else {
            ++tally.failed;
            if (StopRequested(job))
                return tally;
            job.steps.ShowError(EntryFailureText(outcome, letter, index));
        }
    }
    job.steps.ShowStatus(BlockDoneText(letter, count));
    return tally;
}

ReadTally RunRead(ReadJob& job) {
    ReadTally tally;
    job.steps.LockMenus();
    job.steps.InitInfoGrids();
    RecordStore& store = job.store;
    tally.g = ReadBlock(job, 'G', store.GInfo.EntryCount, store.GInfo.AnswerLength, store.GInfoSlots.data(),
                        kGInfoSlotSize);
    if (!StopRequested(job))
        tally.x = ReadBlock(job, 'X', store.XInfo.EntryCount, store.XInfo.AnswerLength,
                            store.XInfoSlots.data(), kXInfoSlotSize);
    tally.stopped = StopRequested(job);
    if (!tally.stopped && job.writeFile) {
        WrittenFile written = job.writeFile(store);
        tally.fileName = std::move(written.name);
        tally.fileError = std::move(written.error);
        job.steps.ShowFileName(tally.fileName);
        if (!tally.fileError.empty())
            job.steps.ShowError(tally.fileError);
    }
    job.steps.UnlockMenus();
    return tally;
}

} // namespace lexorant
