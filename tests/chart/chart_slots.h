#pragma once
// X-Info entries for the chart tests, written byte by byte as the controller sends them.
#include "readout/read_out_data.h"
#include "readout/record_store.h"

#include <cstdint>

namespace lexorant::test {

inline void Put16(std::uint8_t* slot, int offset, int value) {
    slot[offset] = static_cast<std::uint8_t>(value & 0xFF);
    slot[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

inline void Stamp(std::uint8_t* slot, int year, int month, int day, int hour, int minute, int second) {
    const int bytes[] = {year, month, day, hour, minute, second};
    for (int i = 0; i < 6; ++i)
        slot[1 + i] = static_cast<std::uint8_t>(bytes[i]);
}

inline RecordStore XStore(int xInfoType, std::uint16_t count) {
    RecordStore store;
    store.Replace(InfoHeader{36, 0, 0}, InfoHeader{196, static_cast<std::uint16_t>(xInfoType), count});
    return store;
}

// The store as a read-out with every entry in.
inline ReadOutData AllIn(RecordStore store) {
    ReadOutData readOut;
    readOut.in = EntrySet::All(store.GInfo, store.XInfo);
    readOut.store = std::move(store);
    return readOut;
}

} // namespace lexorant::test
