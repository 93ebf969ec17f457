// Equal slots found by their bytes, whatever their hashes say.
#include "compare/slot_index.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

using namespace lexorant;

namespace {

std::uint64_t EveryHashTheSame(const std::uint8_t*, std::size_t) {
    return 42;
}

} // namespace

TEST(SlotIndexTest, AHashMatchIsConfirmedByTheBytes) {
    for (const SlotHasher hash :
         {static_cast<SlotHasher>(SlotHash), static_cast<SlotHasher>(EveryHashTheSame)}) {
        SlotIndex index(16, 1, hash); // grows past its first size
        std::array<std::uint8_t, 16> slot{};
        for (std::uint16_t i = 0; i < 40; ++i) {
            slot[0] = static_cast<std::uint8_t>(i % 20); // every content twice
            index.Add(i, slot.data());
        }
        slot[0] = 7;
        EXPECT_EQ(index.Take(slot.data()), std::optional<std::uint16_t>(7));
        EXPECT_EQ(index.Take(slot.data()), std::optional<std::uint16_t>(27));
        EXPECT_EQ(index.Take(slot.data()), std::nullopt) << "each copy matches once";
        slot[0] = 99;
        EXPECT_EQ(index.Take(slot.data()), std::nullopt) << "never held";
    }
}
