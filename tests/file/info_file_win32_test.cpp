// File names on Windows are UTF-8 texts; a serial number in the controller's code page still
// names its file.
#include "tests/file/file_test_folder.h"
#include "file/info_file.h"

#include <gtest/gtest.h>

using namespace lexorant;
using lexorant::testing::TempFolder;

TEST(InfoFileWin32, NamesAreUtf8OrTheControllersCodePage) {
    TempFolder folder;
    RecordStore store;
    store.Replace({36, 1, 1}, {196, 2, 0});
    const std::pair<std::string, std::wstring> cases[] = {
        {"K\xC3\xA4se.inf", L"K\u00E4se.inf"}, // UTF-8
        {"caf\xE9.inf", L"caf\u00E9.inf"},     // Windows-1252
    };
    for (const auto& [name, wide] : cases) {
        const std::string full = folder.path().string() + "\\" + name;
        ASSERT_EQ(WriteInfoFile(store, full), "") << name;
        EXPECT_EQ(std::filesystem::file_size(folder.path() / wide), 28u) << name;
        RecordStore loaded;
        EXPECT_TRUE(LoadInfoFile(full, loaded)) << name;
        EXPECT_EQ(loaded, store) << name;
    }
}
