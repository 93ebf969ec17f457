#include "link/read_loop.h"

#include "link/serial_port.h"
#include "readout/entry_keeper.h"
#include "readout/entry_set.h"
#include "readout/record_store.h"

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

namespace lexorant {

namespace {

bool StopRequested(const ReadJob& job) {
    return job.stop && job.stop->load(std::memory_order_acquire);
}

// Tells a line that is gone from an entry that failed: a hang-up at once, silence once it has lasted
// kSilentEntriesForLoss entries (one, right after the port was opened again for a retry).
class LossWatch {
public:
    // A failed exchange of entry (of a block of count entries); the loss, if the line counts as lost now.
    std::optional<LineLoss> Failed(const Exchanged& exchanged, EntryRef entry, int count) {
        const bool silent = exchanged.answer.empty() && exchanged.end == ExchangeEnd::TimedOut;
        const bool gone = exchanged.end == ExchangeEnd::HungUp || exchanged.end == ExchangeEnd::WriteFailed ||
                          exchanged.end == ExchangeEnd::NotOpen;
        if (!silent && !gone) {
            Answered();
            return std::nullopt;
        }
        if (silent_++ == 0)
            first_ = {entry, count, LineLossReason::StoppedAnswering};
        if (gone)
            return LineLoss{first_.entry, first_.count, LineLossReason::HungUp};
        if (silent_ >= (retried_ ? 1 : kSilentEntriesForLoss))
            return first_;
        return std::nullopt;
    }
    // Any byte came: the line is there.
    void Answered() {
        silent_ = 0;
        retried_ = false;
        goingOn_ = false;
        reported_.clear();
    }
    // The loss is to be asked about, unless whoever reads chose to go on and no answer has come since.
    bool Ask() const { return !goingOn_; }
    void GoOn() { goingOn_ = true; }
    // Back to the first entry without answer, on a line opened again: the failures reported since
    // then are asked anew.
    std::vector<EntryRef> Retry() {
        silent_ = 0;
        retried_ = true;
        goingOn_ = false;
        return std::exchange(reported_, {});
    }
    void Reported(EntryRef entry) { reported_.push_back(entry); }

private:
    int silent_ = 0;
    LineLoss first_;
    bool retried_ = false;
    bool goingOn_ = false;
    std::vector<EntryRef> reported_; // failures reported since the last answer
};

struct Block {
    InfoBlock block;
    int count;
    std::size_t answerLength;
    std::uint8_t* slots;
    std::size_t slotSize;
};

enum class BlockEnd { Done, Stopped, Lost, Retry, Resume };

class Reader {
public:
    explicit Reader(ReadJob& job) : job_(job) {}

    // Reads the block from entry `from` on. On Retry and Resume, RetryAt() is where to go on.
    BlockEnd Read(const Block& b, int from, BlockTally& tally) {
        const char letter = LetterOf(b.block);
        for (int index = from; index < b.count; ++index) {
            const EntryRef entry{b.block, static_cast<std::uint16_t>(index)};
            if (job_.in && job_.in->Has(entry))
                continue;
            if (StopRequested(job_))
                return BlockEnd::Stopped;
            job_.events.Status(ReadingText(letter, index + 1, b.count));
            std::uint8_t* slot = b.slots + static_cast<std::size_t>(index) * b.slotSize;
            const Exchanged exchanged = job_.port.Exchange(EntryRequest(letter, index), b.answerLength);
            const EntryOutcome outcome =
                EvaluateEntryAnswer(exchanged.answer, b.answerLength, slot, b.slotSize);
            if (outcome == EntryOutcome::Good) {
                ++tally.good;
                watch_.Answered();
                if (job_.keeper)
                    job_.keeper->Keep(entry, {slot, b.slotSize});
                job_.events.EntryIn(entry);
                continue;
            }
            if (StopRequested(job_))
                return BlockEnd::Stopped;
            if (const auto loss = watch_.Failed(exchanged, entry, b.count); loss && watch_.Ask()) {
                job_.port.CloseDevice();
                switch (job_.events.LineLost(*loss)) {
                case AfterLoss::Stop:
                    lost_ = loss;
                    return BlockEnd::Lost;
                case AfterLoss::Retry:
                    retryAt_ = loss->entry;
                    return BlockEnd::Retry;
                case AfterLoss::Resume:
                    retryAt_ = loss->entry;
                    return BlockEnd::Resume;
                case AfterLoss::GoOn:
                    job_.port.Reopen(); // a port still gone shows as the next exchange failing at once
                    watch_.GoOn();
                    break;
                }
            }
            ++tally.failed;
            watch_.Reported(entry);
            job_.events.EntryFailed(entry, EntryFailureText(outcome, letter, index));
        }
        job_.events.Status(BlockDoneText(letter, b.count));
        return BlockEnd::Done;
    }

    // Back to the entry that got no answer, the port opened again here (Retry) or already (Resume);
    // returns the failures reported since the loss, which are asked anew.
    std::vector<EntryRef> GoBack(bool reopen) {
        if (reopen)
            job_.port.Reopen(); // a port still gone shows as the next exchange failing at once
        return watch_.Retry();
    }

    EntryRef RetryAt() const { return retryAt_; }
    const std::optional<LineLoss>& Lost() const { return lost_; }

private:
    ReadJob& job_;
    LossWatch watch_;
    EntryRef retryAt_;
    std::optional<LineLoss> lost_;
};

// Reads the blocks one after the other into their tallies, going back to the entry that got no
// answer whenever whoever reads chooses to retry. The loss that ended the read, if one did.
std::optional<LineLoss> ReadBlocks(ReadJob& job, std::span<const Block> blocks,
                                   std::span<BlockTally> tallies) {
    Reader reader(job);
    const auto indexOf = [blocks](InfoBlock block) {
        return static_cast<std::size_t>(
            std::find_if(blocks.begin(), blocks.end(), [block](const Block& b) { return b.block == block; }) -
            blocks.begin());
    };
    std::size_t current = 0;
    int from = 0;
    while (current < blocks.size()) {
        const BlockEnd end = reader.Read(blocks[current], from, tallies[current]);
        if (end == BlockEnd::Done) {
            ++current;
            from = 0;
        } else if (end == BlockEnd::Retry || end == BlockEnd::Resume) {
            for (const EntryRef& asked : reader.GoBack(end == BlockEnd::Retry))
                --tallies[indexOf(asked.block)].failed;
            current = indexOf(reader.RetryAt().block);
            from = reader.RetryAt().index;
        } else {
            break;
        }
    }
    return reader.Lost();
}

} // namespace

namespace {
std::string InfoOfText(char letter, int number, int count) {
    return std::string(1, letter) + "-Info " + std::to_string(number) + " of " + std::to_string(count);
}
} // namespace

std::string EntryOfText(EntryRef entry, int count) {
    return InfoOfText(LetterOf(entry.block), entry.index + 1, count);
}

std::string ReadingText(char letter, int number, int count) {
    return "Reading " + InfoOfText(letter, number, count);
}

std::string BlockDoneText(char letter, int count) {
    return std::to_string(count) + " " + std::string(1, letter) + "-Infos read";
}

std::string LineLostText(const LineLoss& loss) {
    const std::string why =
        loss.reason == LineLossReason::HungUp
            ? "the line hung up"
            : "no answer to " + std::to_string(kSilentEntriesForLoss) + " requests in a row";
    return "The unit stopped answering at " + EntryOfText(loss.entry, loss.count) + " (" + why + ")";
}

BlockTally ReadBlock(ReadJob& job, char letter, int count, std::size_t answerLength, std::uint8_t* slots,
                     std::size_t slotSize) {
    const Block block{BlockOfLetter(letter), count, answerLength, slots, slotSize};
    BlockTally tally;
    ReadBlocks(job, std::span(&block, 1), std::span(&tally, 1));
    return tally;
}

ReadTally RunRead(ReadJob& job) {
    ReadTally tally;
    job.events.ReadStarted(job.in ? *job.in : EntrySet());
    RecordStore& store = job.store;
    const Block blocks[] = {
        {InfoBlock::GInfo, store.GInfo.EntryCount, store.GInfo.AnswerLength, store.GInfoSlots.data(),
         kGInfoSlotSize},
        {InfoBlock::XInfo, store.XInfo.EntryCount, store.XInfo.AnswerLength, store.XInfoSlots.data(),
         kXInfoSlotSize},
    };
    BlockTally tallies[2];
    tally.lost = ReadBlocks(job, blocks, tallies);
    tally.g = tallies[0];
    tally.x = tallies[1];
    tally.stopped = StopRequested(job);
    return tally;
}

} // namespace lexorant
