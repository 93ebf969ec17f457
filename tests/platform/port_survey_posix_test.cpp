#include "platform/port_survey.h"

#include "platform/dos_devices.h"
#include "platform/same_adapter.h"
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

        Adapter("1-2", "ttyUSB0", "A50285BI");
        fs::create_directories(sys_ / "devices/platform/serial8250");
        fs::create_directories(sys_ / "class/tty/ttyS0");
        fs::create_symlink(sys_ / "devices/platform/serial8250", sys_ / "class/tty/ttyS0/device");
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(root_);
    }
    // An FTDI adapter on USB port `usbPort` whose tty is `tty`.
    void Adapter(const std::string& usbPort, const std::string& tty, const std::string& serial) {
        const fs::path usb = sys_ / "devices/pci0000:00/0000:00:14.0/usb1" / usbPort;
        for (const auto& [name, text] : {std::pair{"idVendor", "0403"},
                                         {"idProduct", "6001"},
                                         {"manufacturer", "FTDI"},
                                         {"product", "FT232R USB UART"},
                                         {"serial", serial.c_str()}})
            Write(usb / name, std::string(text) + "\n");
        const fs::path port = usb / (usbPort + ":1.0") / tty;
        fs::create_directories(port / "tty" / tty);
        fs::create_directories(sys_ / "class/tty" / tty);
        fs::create_symlink(port, sys_ / "class/tty" / tty / "device");
    }
    void Link(const std::string& com, const fs::path& target) {
        fs::create_symlink(target, DeviceFolder() / com);
    }

    fs::path root_;
    fs::path sys_;
};

TEST_F(PortSurveyTest, SaysWhereEachPortLeadsWhetherItCanBeOpenedAndWhichAdapterItIs) {
    test::SimPtyPeer freePeer, heldPeer;
    SerialDevice holder;
    ASSERT_EQ(holder.Open(heldPeer.SlavePath(), 9600), SerialDevice::OpenResult::Opened);
    // An adapter without a serial line behind its name: a plain file called like the tty.
    Write(root_ / "dev/ttyUSB0", "");
    const fs::path byId = root_ / "by-id";
    fs::create_directories(byId);
    fs::create_symlink(root_ / "dev/ttyUSB0", byId / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    fs::create_symlink(freePeer.SlavePath(), byId / "not-usb");
    Link("com1", freePeer.SlavePath());
    Link("com2", heldPeer.SlavePath());
    Link("com3", root_ / "dev/unplugged");
    Link("com4", root_ / "dev/ttyUSB0");

    const std::vector<PortReport> ports = SurveyPorts(sys_, byId);
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
    const std::string stable = (byId / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0").string();
    EXPECT_EQ(DescribeStableName(ports[3]), "       stable name " + stable + "; to use it: ln -sfn '" +
                                                stable + "' '" + (DeviceFolder() / "com4").string() + "'");
    EXPECT_EQ(DescribeStableName(ports[0]), ""); // a device that is no USB adapter has none shown
    EXPECT_FALSE(ports[4].linked);
    EXPECT_EQ(ports[4].device, "/dev/ttyUSB0");
}

TEST_F(PortSurveyTest, AnOnBoardPortIsNoUsbAdapter) {
    EXPECT_FALSE(FindUsbAdapter(sys_, "ttyS0"));
    EXPECT_FALSE(FindUsbAdapter(sys_, "ttyACM7"));
    ASSERT_TRUE(FindUsbAdapter(sys_, "ttyUSB0"));
    EXPECT_EQ(FindUsbAdapter(sys_, "ttyUSB0")->product, "FT232R USB UART");
}

TEST_F(PortSurveyTest, TheLostAdapterIsFoundAgainOnlyWhenExactlyOneIsLikeIt) {
    const UsbAdapter lost = *FindUsbAdapter(sys_, "ttyUSB0");
    Adapter("1-3", "ttyUSB1", "OTHER");
    UsbAdapter unknown = lost;
    unknown.serial = "NOWHERE";
    EXPECT_EQ(FindSameAdapter(sys_, unknown), std::nullopt);
    EXPECT_EQ(FindSameAdapter(sys_, lost), fs::path("/dev/ttyUSB0"));
    Adapter("1-4", "ttyUSB2", "A50285BI"); // a second adapter that says the same of itself
    EXPECT_EQ(FindSameAdapter(sys_, lost), std::nullopt);
}

TEST_F(PortSurveyTest, AnAdaptersFactsAreTakenThroughThePortsLink) {
    Write(sys_ / "../dev/ttyUSB0", "");
    Link("com5", sys_ / "../dev/ttyUSB0");
    EXPECT_FALSE(LinkDangles(DeviceFolder() / "com5"));
    ASSERT_TRUE(AdapterOfDevice(DeviceFolder() / "com5", sys_));
    EXPECT_EQ(AdapterOfDevice(DeviceFolder() / "com5", sys_)->serial, "A50285BI");
    fs::remove(sys_ / "../dev/ttyUSB0");
    EXPECT_TRUE(LinkDangles(DeviceFolder() / "com5"));
    EXPECT_FALSE(AdapterOfDevice(DeviceFolder() / "com5", sys_));
}

} // namespace
