#include "dataset/export_lock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace lexorant;

TEST(ExportLockTest, OneHolderAtATimeAndTheNextTakesItOver) {
    char dir[] = "/tmp/lexorant-lock-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    {
        const ExportLock first(dir);
        ASSERT_TRUE(first.Held()) << first.Refusal();
        const ExportLock second(dir);
        EXPECT_FALSE(second.Held());
        EXPECT_EQ(second.Refusal(), "another export is writing into " + std::string(dir) + " (process " +
                                        std::to_string(::getpid()) + "); nothing was changed");
    }
    EXPECT_TRUE(ExportLock(dir).Held());
    std::filesystem::remove_all(dir);
}
