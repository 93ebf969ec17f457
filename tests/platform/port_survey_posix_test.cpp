#include "platform/port_survey.h"

#include "platform/dos_devices.h"
#include "platform/serial_device.h"
#include "tests/support/sim_pty_peer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// A temporary device folder and a sysfs tree with one FTDI adapter (ttyUSB0) and one on-board
// port (ttyS0), laid out as the kernel lays them out.
class PortSurveyTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/lexorant-ports-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        root_ = dir;
        sys_ = root_ / "sys";
        ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        fs::create_directories(DeviceFolder());

        const fs::path usb = sys_ / "devices/pci0000:00/0000:00:14.0/usb1/1-2";
        for (const auto& [name, text] : {std::pair{"idVendor", "0403\n"}, {"idProduct", "6001\n"},
                                         {"manufacturer", "FTDI\n"}, {"product", "FT232R USB UART\n"},
                                         {"serial", "A50285BI\n"}})
            Write(usb / name, text);
        fs::create_directories(usb / "1-2:1.0/ttyUSB0/tty/ttyUSB0");
        fs::create_directories(sys_ / "class/tty/ttyUSB0");
        fs::create_symlink(usb / "1-2:1.0/ttyUSB0", sys_ / "class/tty/ttyUSB0/device");
        fs::create_directories(sys_ / "devices/platform/serial8250");
        fs::create_directories(sys_ / "class/tty/ttyS0");
        fs::create_symlink(sys_ / "devices/platform/serial8250", sys_ / "class/tty/ttyS0/device");
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(root_);
    }
    void Link(const std::string& com, const fs::path& target) { fs::create_symlink(target, DeviceFolder() / com); }

    fs::path root_;
    fs::path sys_;
};

TEST_F(PortSurveyTest, SaysWhereEachPortLeadsWhetherItCanBeOpenedAndWhichAdapterItIs) {
    test::SimPtyPeer freePeer, heldPeer;
    SerialDevice holder;
    ASSERT_EQ(holder.Open(heldPeer.SlavePath(), 9600), SerialDevice::OpenResult::Opened);
    // An adapter without a serial line behind its name: a plain file called like the tty.
    Write(root_ / "dev/ttyUSB0", "");
    Link("com1", freePeer.SlavePath());
    Link("com2", heldPeer.SlavePath());
    Link("com3", root_ / "dev/unplugged");
    Link("com4", root_ / "dev/ttyUSB0");

    const std::vector<PortReport> ports = SurveyPorts(sys_);
    ASSERT_EQ(ports.size(), 15u);
    const struct {
        PortAccess access;
        fs::path device;
    } expected[] = {
        {PortAccess::Free, freePeer.SlavePath()},
        {PortAccess::Busy, heldPeer.SlavePath()},
        {PortAccess::Missing, root_ / "dev/unplugged"},
        {PortAccess::NoSerialLine, root_ / "dev/ttyUSB0"},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ports[i].number, i + 1);
        EXPECT_TRUE(ports[i].linked) << i;
        EXPECT_EQ(ports[i].device, expected[i].device) << i;
        EXPECT_EQ(ports[i].access, expected[i].access) << i;
    }
    EXPECT_FALSE(ports[0].usb);
    EXPECT_EQ(DescribePort(ports[3]), "COM4   " + (root_ / "dev/ttyUSB0").string() +
                                          " (link) exists, no serial line (Inappropriate ioctl for device); "
                                          "USB 0403:6001 FTDI FT232R USB UART, serial A50285BI");
    EXPECT_FALSE(ports[4].linked);
    EXPECT_EQ(ports[4].device, "/dev/ttyUSB0");
}

TEST_F(PortSurveyTest, AnOnBoardPortIsNoUsbAdapter) {
    EXPECT_FALSE(FindUsbAdapter(sys_, "ttyS0"));
    EXPECT_FALSE(FindUsbAdapter(sys_, "ttyACM7"));
    ASSERT_TRUE(FindUsbAdapter(sys_, "ttyUSB0"));
    EXPECT_EQ(FindUsbAdapter(sys_, "ttyUSB0")->product, "FT232R USB UART");
}

} // namespace
