// Any bytes as a ".inf" file: the loader must stay inside its slots and leave a store whose arrays
// match its headers.
//
// The entry counts are cut to kMaxCount before the bytes are written. An input holds a few
// kilobytes, so a larger count only takes the same path (the file ends before its blocks do) with
// a bigger zero-filled store, and allocating up to 7 MB for every input would leave the fuzzer
// about 80 inputs a second. The loader's unit tests load the largest counts.
#include "file/info_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMaxCount = 1024;
constexpr std::size_t kCountOffsets[] = {4, 10};

const std::string& InputPath() {
    static const std::string path = "/tmp/fuzz_load_info_file_" + std::to_string(::getpid()) + ".inf";
    return path;
}

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t At(std::size_t i) const { return i < size ? data[i] : 0; }
};

bool SlotIsAsLoaded(const Input& in, const std::uint8_t* slot, std::size_t slotSize, std::size_t stored,
                    std::size_t filePos) {
    for (std::size_t b = 0; b < slotSize; ++b)
        if (slot[b] != (b < stored ? in.At(filePos + b) : 0))
            return false;
    return true;
}

// Checks the slots that the file's bytes reach, the one after them and the block's last one: the
// rest can only be zero-filled allocation, and scanning it would cost every input megabytes.
bool BlockIsAsLoaded(const Input& in, const std::vector<std::uint8_t>& slots, std::size_t count,
                     std::size_t slotSize, std::uint16_t answerLength, std::size_t start) {
    const std::size_t stored = lexorant::StoredEntrySize(answerLength, slotSize);
    const std::size_t reached = stored == 0 || start >= in.size ? 0 : (in.size - start) / stored + 1;
    const auto check = [&](std::size_t i) {
        return SlotIsAsLoaded(in, slots.data() + i * slotSize, slotSize, stored, start + i * stored);
    };
    for (std::size_t i = 0; i < std::min(count, reached + 1); ++i)
        if (!check(i))
            return false;
    return count == 0 || check(count - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    std::vector<std::uint8_t> bytes(input, input + size);
    for (const std::size_t at : kCountOffsets)
        if (at + 1 < size && (bytes[at] | bytes[at + 1] << 8) > kMaxCount) {
            bytes[at] = static_cast<std::uint8_t>(kMaxCount & 0xFF);
            bytes[at + 1] = static_cast<std::uint8_t>(kMaxCount >> 8);
        }
    const std::uint8_t* data = bytes.data();
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    if (std::fclose(file) != 0)
        std::abort();

    lexorant::RecordStore store;
    const bool loaded = lexorant::LoadInfoFile(InputPath(), store);
    std::remove(InputPath().c_str()); // libFuzzer ends without exit handlers
    if (!loaded)
        std::abort(); // a readable regular file always loads
    const auto& g = store.GInfo;
    const auto& x = store.XInfo;
    if (store.GInfoSlots.size() != std::size_t{g.EntryCount} * lexorant::kGInfoSlotSize ||
        store.XInfoSlots.size() != std::size_t{x.EntryCount} * lexorant::kXInfoSlotSize)
        std::abort();
    // What loads is the file's own bytes (those it lacks as zeros): headers first, then the blocks.
    const Input in{data, size};
    const lexorant::InfoHeader headers[] = {g, x};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto word = [&](std::size_t at) { return in.At(at) | in.At(at + 1) << 8; };
        if (headers[i].AnswerLength != word(i * 6) || headers[i].InfoType != word(i * 6 + 2) ||
            headers[i].EntryCount != word(i * 6 + 4))
            std::abort();
    }
    const std::size_t xStart =
        lexorant::kInfoFileHeaderSize + g.EntryCount * lexorant::StoredEntrySize(g.AnswerLength, lexorant::kGInfoSlotSize);
    if (!BlockIsAsLoaded(in, store.GInfoSlots, g.EntryCount, lexorant::kGInfoSlotSize, g.AnswerLength,
                         lexorant::kInfoFileHeaderSize) ||
        !BlockIsAsLoaded(in, store.XInfoSlots, x.EntryCount, lexorant::kXInfoSlotSize, x.AnswerLength, xStart))
        std::abort();
    return 0;
}
