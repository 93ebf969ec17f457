#include "protocol.h"

#include <gtest/gtest.h>

using namespace lexorant;

TEST(EntryRequest, FirstGInfoAndTwelfthXInfo) {
    EXPECT_EQ(EntryRequest('G', 0), std::string("\x47\x49\x40\x20\x30\x0D\x0A"));
    EXPECT_EQ(EntryRequest('X', 12), std::string("\x58\x49\x40\x20\x31\x32\x0D\x0A"));
}
