#include "dataset/export_manifest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace lexorant;
namespace fs = std::filesystem;

TEST(ExportManifestTest, KeepsAnyPathAndRefusesWhatIsNoManifest) {
    char dir[] = "/tmp/lexorant-manifest-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    EXPECT_EQ(LoadManifest(dir), Manifest{});
    Manifest manifest;
    manifest["/a/b\tc%09\nd.inf"] = {.size = 7'300'000,
                                     .modified = -5,
                                     .hash = 0xdeadbeef,
                                     .serial = "S 1\t",
                                     .stem = "b-0123",
                                     .gTable = true,
                                     .xTable = false,
                                     .readOut = "b\tc"};
    ManifestEntry plain;
    plain.stem = "x-9";
    manifest["/x.partial"] = plain;
    ASSERT_TRUE(SaveManifest(dir, manifest));
    EXPECT_EQ(LoadManifest(dir), manifest);
    std::ofstream(fs::path(dir) / kManifestName) << "something else\n";
    EXPECT_EQ(LoadManifest(dir), std::nullopt);
    fs::remove_all(dir);
}
