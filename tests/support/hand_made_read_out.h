#pragma once
// Read-outs made by hand for tests: entries of both blocks with a message code and a time stamp.
#include "readout/info_head.h"
#include "readout/record_store.h"

#include <cstdint>
#include <vector>

namespace lexorant::test {

struct HandEntry {
    int code;
    InfoTimeStamp stamp{9, 12, 24, 7, 5, 0};
};

// The head bytes both kinds of entry share: type 1, the stamp, the code.
inline void PutHead(std::uint8_t* slot, const HandEntry& e) {
    const InfoTimeStamp& t = e.stamp;
    slot[0] = 1;
    slot[1] = t.Year, slot[2] = t.Month, slot[3] = t.Day, slot[4] = t.Hour, slot[5] = t.Minute, slot[6] = t.Second;
    slot[8] = static_cast<std::uint8_t>(e.code & 0xFF);
    slot[9] = static_cast<std::uint8_t>((e.code >> 8) & 0xFF);
}

inline RecordStore HandMadeReadOut(const std::vector<HandEntry>& g, const std::vector<HandEntry>& x,
                                   std::uint16_t xType = 3) {
    RecordStore s;
    s.Replace({16 * 2 + 4, 0, static_cast<std::uint16_t>(g.size())},
              {96 * 2 + 4, xType, static_cast<std::uint16_t>(x.size())});
    for (std::size_t i = 0; i < g.size(); ++i)
        PutHead(s.GInfoSlot(i), g[i]);
    for (std::size_t i = 0; i < x.size(); ++i)
        PutHead(s.XInfoSlot(i), x[i]);
    return s;
}

} // namespace lexorant::test
