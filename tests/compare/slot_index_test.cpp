// Equal slots found by their bytes, whatever their hashes say.
#include "compare/slot_index.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

using namespace lexorant;

namespace {

std::uint64_t EveryHashTheSame(const std::uint8_t*, std::size_t) {
    return 42;
}

} // namespace

TEST(SlotIndexTest, AHashMatchIsConfirmedByTheBytes) {
    for (const SlotHasher hash :
         {static_cast<SlotHasher>(SlotHash), static_cast<SlotHasher>(EveryHashTheSame)}) {
        std::vector<std::uint8_t> slots(40 * 16);
        for (std::size_t i = 0; i < 40; ++i)
            slots[i * 16] = static_cast<std::uint8_t>(i % 20); // every content twice
        SlotIndex index(slots, 16, hash);
        for (std::uint16_t i = 0; i < 40; ++i)
            index.Add(i);
        std::array<std::uint8_t, 16> slot{};
        slot[0] = 7;
        EXPECT_EQ(index.Take(slot.data()), std::optional<std::uint16_t>(7));
        EXPECT_EQ(index.Take(slot.data()), std::optional<std::uint16_t>(27));
        EXPECT_EQ(index.Take(slot.data()), std::nullopt) << "each copy matches once";
        slot[0] = 99;
        EXPECT_EQ(index.Take(slot.data()), std::nullopt) << "never held";
    }
}
