#include "platform/sleep_inhibitor.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace lexorant;

// A machine without a system bus (a container, a minimal install) must not keep a read from starting.
TEST(SleepInhibitor, WithoutASystemBusItIsNotHeldAndSaysWhy) {
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus_socket", 1);
    const SleepInhibitor inhibitor("Reading a unit");
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    EXPECT_FALSE(inhibitor.Held());
    EXPECT_FALSE(inhibitor.Failure().empty());
}
