#include "file/info_file_format.h"

#include <algorithm>
#include <cstring>

namespace lexorant {

std::size_t StoredEntrySize(std::uint16_t answerLength, std::size_t slotSize) {
    // Header values may come from any file (up to 65535), so an entry size outside a slot is cut to
    // the slot rather than refused: the file still loads and nothing beyond a slot is touched.
    if (answerLength < 4)
        return 0;
    return std::min<std::size_t>((answerLength - 4u) / 2u, slotSize);
}

std::size_t InfoFileSize(const InfoHeader& g, const InfoHeader& x) {
    return kInfoFileHeaderSize + std::size_t{g.EntryCount} * StoredEntrySize(g.AnswerLength, kGInfoSlotSize) +
           std::size_t{x.EntryCount} * StoredEntrySize(x.AnswerLength, kXInfoSlotSize);
}

namespace {

void PutWord(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value & 0xFF);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const auto byteAt = [&](std::size_t i) -> unsigned { return i < bytes.size() ? bytes[i] : 0u; };
    return static_cast<std::uint16_t>(byteAt(offset) | (byteAt(offset + 1) << 8));
}

// Copies the stored part of count slots between file and store; a store array shorter than its
// header (never made by RecordStore::Replace) is read or written only as far as it reaches.
struct Block {
    std::size_t count;
    std::size_t stored;
    std::size_t slotSize;
};

Block BlockOf(const InfoHeader& h, std::size_t slotSize) {
    return {h.EntryCount, StoredEntrySize(h.AnswerLength, slotSize), slotSize};
}

} // namespace

std::vector<std::uint8_t> EncodeInfoFile(const RecordStore& store) {
    std::vector<std::uint8_t> out(InfoFileSize(store.GInfo, store.XInfo), 0);
    const auto headers = EncodeInfoHeaders(store.GInfo, store.XInfo);
    std::copy(headers.begin(), headers.end(), out.begin());
    std::size_t pos = kInfoFileHeaderSize;
    const auto put = [&](const Block& b, const std::vector<std::uint8_t>& slots) {
        const std::size_t present = std::min(b.count, slots.size() / b.slotSize);
        for (std::size_t i = 0; i < present && b.stored > 0; ++i)
            std::memcpy(&out[pos + i * b.stored], slots.data() + i * b.slotSize, b.stored);
        pos += b.count * b.stored;
    };
    put(BlockOf(store.GInfo, kGInfoSlotSize), store.GInfoSlots);
    put(BlockOf(store.XInfo, kXInfoSlotSize), store.XInfoSlots);
    return out;
}

std::array<std::uint8_t, kInfoFileHeaderSize> EncodeInfoHeaders(const InfoHeader& g, const InfoHeader& x) {
    std::array<std::uint8_t, kInfoFileHeaderSize> out{};
    const InfoHeader* headers[] = {&g, &x};
    for (std::size_t i = 0; i < 2; ++i) {
        PutWord(&out[i * 6], headers[i]->AnswerLength);
        PutWord(&out[i * 6 + 2], headers[i]->InfoType);
        PutWord(&out[i * 6 + 4], headers[i]->EntryCount);
    }
    return out;
}

void DecodeInfoHeaders(std::span<const std::uint8_t> bytes, InfoHeader& g, InfoHeader& x) {
    InfoHeader* headers[] = {&g, &x};
    for (std::size_t i = 0; i < 2; ++i) {
        headers[i]->AnswerLength = WordAt(bytes, i * 6);
        headers[i]->InfoType = WordAt(bytes, i * 6 + 2);
        headers[i]->EntryCount = WordAt(bytes, i * 6 + 4);
    }
}

void DecodeInfoFile(std::span<const std::uint8_t> bytes, RecordStore& store) {
    InfoHeader g, x;
    DecodeInfoHeaders(bytes, g, x);
    store.Replace(g, x);
    const auto take = [&](const Block& b, std::size_t start, std::vector<std::uint8_t>& slots) {
        for (std::size_t i = 0, pos = start; i < b.count && b.stored > 0 && pos < bytes.size();
             ++i, pos += b.stored)
            std::memcpy(slots.data() + i * b.slotSize, bytes.data() + pos,
                        std::min(b.stored, bytes.size() - pos));
    };
    const Block gBlock = BlockOf(g, kGInfoSlotSize);
    take(gBlock, kInfoFileHeaderSize, store.GInfoSlots);
    take(BlockOf(x, kXInfoSlotSize), kInfoFileHeaderSize + gBlock.count * gBlock.stored, store.XInfoSlots);
}

} // namespace lexorant
