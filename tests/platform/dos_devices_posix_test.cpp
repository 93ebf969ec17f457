#include "platform/dos_devices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

// Sets or clears one environment variable for the life of the object.
class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvOverride() {
        if (saved_)
            ::setenv(name_.c_str(), saved_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};

class DosDevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/lexorant-dos-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = fs::canonical(pattern);
        xdg_.emplace("XDG_CONFIG_HOME", root_.c_str());
        devices_ = root_ / "brenno-lexorant" / "dosdevices";
        fs::create_directories(devices_);
    }
    void TearDown() override {
        xdg_.reset();
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    fs::path root_;
    fs::path devices_;

private:
    std::optional<EnvOverride> xdg_;
};

TEST_F(DosDevicesTest, ConventionalDevicesWithoutLinks) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM4", "/dev/ttyS3"},
        {"COM5", "/dev/ttyUSB0"},
        {"com10", "/dev/ttyUSB5"},
        {"COM11", "/dev/ttyACM0"},
        {"COM15", "/dev/ttyACM4"},
        // Anything that is not a COM port name is a device path already.
        {"/dev/pts/7", "/dev/pts/7"},
        {"COM16", "COM16"},
        {"", ""},
    };
    for (const auto& [name, device] : cases)
        EXPECT_EQ(SerialDevicePath(name), fs::path(device)) << "name '" << name << "'";
}

TEST_F(DosDevicesTest, LinkWinsEvenWhenItsTargetIsGone) {
    fs::create_symlink("/dev/null", devices_ / "com3");
    fs::create_symlink(root_ / "unplugged", devices_ / "com12");
    EXPECT_EQ(SerialDevicePath("COM3"), devices_ / "com3");
    EXPECT_EQ(SerialDevicePath("com3"), devices_ / "com3");
    EXPECT_EQ(SerialDevicePath("COM12"), devices_ / "com12");
    EXPECT_EQ(SerialDevicePath("COM4"), fs::path("/dev/ttyS3"));
}

TEST_F(DosDevicesTest, ResolvesDriveLettersThroughTheirLink) {
    const fs::path target = root_ / "share";
    fs::create_directories(target);
    fs::create_symlink(target, devices_ / "o:");
    const fs::path expected = target / "geraete" / "Lexorant" / "x_01.inf";
    const std::pair<const char*, std::optional<fs::path>> cases[] = {
        {R"(O:\geraete\Lexorant\x_01.inf)", expected},
        {R"(o:\geraete\Lexorant\x_01.inf)", expected},
        {R"(O:/geraete/Lexorant/x_01.inf)", expected},
        {R"(O:\geraete\\.\Lexorant\x_01.inf)", expected},
        {R"(O:geraete\Lexorant\x_01.inf)", expected},
        {R"(O:\)", target},
        // ".." stops at the drive's root, as on the drive itself.
        {R"(O:\..\..\geraete\Lexorant\x_01.inf)", expected},
        {R"(O:\geraete\tmp\..\Lexorant\x_01.inf)", expected},
        {R"(P:\geraete\Lexorant\x_01.inf)", std::nullopt},
        {R"(1:\geraete)", fs::path(R"(1:\geraete)")},
        {"/srv/geraete/x_01.inf", fs::path("/srv/geraete/x_01.inf")},
        {"x_01.inf", fs::path("x_01.inf")},
    };
    for (const auto& [name, path] : cases)
        EXPECT_EQ(ResolveWindowsPath(name), path) << "name '" << name << "'";
}

TEST_F(DosDevicesTest, DriveWithDanglingLinkIsUnreachable) {
    fs::create_symlink(root_ / "gone", devices_ / "o:");
    EXPECT_EQ(ResolveWindowsPath(R"(O:\x.inf)"), std::nullopt);
    std::ofstream(root_ / "file") << "x";
    fs::create_symlink(root_ / "file", devices_ / "p:");
    EXPECT_EQ(ResolveWindowsPath(R"(P:\x.inf)"), std::nullopt);
}

TEST(DeviceFolder, FollowsXdgConfigHomeThenHome) {
    EnvOverride home("HOME", "/home/tester");
    {
        EnvOverride xdg("XDG_CONFIG_HOME", "/etc/xdg-test");
        EXPECT_EQ(DeviceFolder(), fs::path("/etc/xdg-test/brenno-lexorant/dosdevices"));
    }
    {
        EnvOverride xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(DeviceFolder(), fs::path("/home/tester/.config/brenno-lexorant/dosdevices"));
    }
    {
        EnvOverride xdg("XDG_CONFIG_HOME", "");
        EXPECT_EQ(DeviceFolder(), fs::path("/home/tester/.config/brenno-lexorant/dosdevices"));
    }
}

} // namespace
