#include "dataset/gzip_file.h"
#include "tests/support/generated_archive.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lexorant;
namespace fs = std::filesystem;

class GzipFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/lexorant-gzip-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::size_t Files() { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {})); }
    fs::path dir_;
};

TEST_F(GzipFileTest, AFileIsThereOnlyWholeAndUnderANameNoEngineReadsUntilThen) {
    const std::string text(3'000'000, 'a');
    {
        GzipFile file(dir_ / "t.csv.gz");
        ASSERT_TRUE(file.Write(text));
        ASSERT_EQ(Files(), 1u);
        EXPECT_TRUE(IsWriterTemporary(fs::directory_iterator(dir_)->path()));
        EXPECT_FALSE(fs::exists(dir_ / "t.csv.gz"));
        ASSERT_TRUE(file.Commit()) << file.Error();
    }
    EXPECT_EQ(test::Gunzip(dir_ / "t.csv.gz"), text);
    {
        GzipFile abandoned(dir_ / "u.csv.gz");
        ASSERT_TRUE(abandoned.Write("half"));
    }
    EXPECT_EQ(Files(), 1u) << "an abandoned file leaves nothing behind";
}
