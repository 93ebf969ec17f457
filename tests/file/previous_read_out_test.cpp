// The unit's read-out before an autosave file, found beside it.
#include "file/previous_read_out.h"
#include "tests/file/file_test_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace lexorant;

TEST(PreviousReadOutTest, TheHighestNumberBelowOfTheSameSerial) {
    struct Case {
        const char* what;
        std::vector<std::string> files;
        std::string of;
        std::optional<std::string> previous;
    };
    const std::vector<std::string> visits = {"4711-0815_01.inf",  "4711-0815_02.inf",  "4711-0815_05.inf",
                                             "4711-0815_100.inf", "4711-08150_04.inf", "04711-0815_04.inf",
                                             "4711-0815_04.txt",  "x4711-0815_04.inf"};
    const Case cases[] = {
        {"numbers with gaps", visits, "4711-0815_05.inf", "4711-0815_02.inf"},
        {"past 99", visits, "4711-0815_101.inf", "4711-0815_100.inf"},
        {"any case of .inf, and NEW itself need not exist", visits, "4711-0815_03.INF", "4711-0815_02.inf"},
        {"the unit's first read-out", visits, "4711-0815_01.inf", std::nullopt},
        {"another unit's files never count", visits, "4711-08150_05.inf", "4711-08150_04.inf"},
        {"no autosave name", visits, "4711-0815.inf", std::nullopt},
        {"a folder under the name is no read-out", {"U_01.inf/"}, "U_02.inf", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const lexorant::testing::TempFolder folder;
        for (const std::string& name : c.files) {
            if (name.ends_with("/"))
                std::filesystem::create_directory(folder / name.substr(0, name.size() - 1));
            else
                std::ofstream(folder / name) << "x";
        }
        const std::string prefix = folder.path().string() + "/";
        const auto found = PreviousAutosaveReadOut(prefix + c.of);
        EXPECT_EQ(found, c.previous ? std::optional(prefix + *c.previous) : std::nullopt);
    }
}

#ifndef _WIN32
TEST(PreviousReadOutTest, AWindowsNameGivesAWindowsName) {
    const lexorant::testing::TempFolder drive;
    const lexorant::testing::DriveO o(drive.path());
    std::filesystem::create_directories(drive / "geraete/Lexorant");
    std::ofstream(drive / "geraete/Lexorant/4711-0815_01.inf") << "x";
    EXPECT_EQ(PreviousAutosaveReadOut("O:\\geraete\\Lexorant\\4711-0815_02.inf"),
              "O:\\geraete\\Lexorant\\4711-0815_01.inf");
}
#endif
