#include "platform/dos_devices.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

using namespace lexorant;

namespace {

TEST(ComPortNumber, AcceptsCom1ToCom15InAnyCase) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"COM1", 1},
        {"com1", 1},
        {"cOm9", 9},
        {"COM10", 10},
        {"COM15", 15},
        {"COM0", std::nullopt},
        {"COM16", std::nullopt},
        {"COM01", std::nullopt},
        {"COM", std::nullopt},
        {"LPT1", std::nullopt},
        {"COM1 ", std::nullopt},
        {" COM1", std::nullopt},
        {"COM-1", std::nullopt},
        {"COM+1", std::nullopt},
        {"COM100", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [name, number] : cases)
        EXPECT_EQ(ComPortNumber(name), number) << "name '" << name << "'";
}

} // namespace
