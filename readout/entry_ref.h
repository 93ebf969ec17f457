#pragma once
// One entry of a read-out: its block and its 0-based position there.
#include "readout/record_store.h"

#include <cstddef>
#include <cstdint>

namespace lexorant {

enum class InfoBlock : std::uint8_t { GInfo, XInfo };

struct EntryRef {
    InfoBlock block = InfoBlock::GInfo;
    std::uint16_t index = 0;

    friend bool operator==(const EntryRef&, const EntryRef&) = default;
};

inline const InfoHeader& HeaderOf(const RecordStore& store, InfoBlock block) {
    return block == InfoBlock::GInfo ? store.GInfo : store.XInfo;
}

// The slot of the entry in the store.
inline const std::uint8_t* SlotOf(const RecordStore& store, EntryRef entry) {
    return entry.block == InfoBlock::GInfo ? store.GInfoSlot(entry.index) : store.XInfoSlot(entry.index);
}
inline std::uint8_t* SlotOf(RecordStore& store, EntryRef entry) {
    return entry.block == InfoBlock::GInfo ? store.GInfoSlot(entry.index) : store.XInfoSlot(entry.index);
}

// 'G' or 'X', as requests, files and texts name the block.
inline char LetterOf(InfoBlock block) { return block == InfoBlock::GInfo ? 'G' : 'X'; }
inline InfoBlock BlockOfLetter(char letter) { return letter == 'G' ? InfoBlock::GInfo : InfoBlock::XInfo; }

inline std::size_t SlotSizeOf(InfoBlock block) { return block == InfoBlock::GInfo ? kGInfoSlotSize : kXInfoSlotSize; }

} // namespace lexorant
