#include "link/port_commands.h"
#include "link/serial_port.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

using namespace lexorant;
namespace fs = std::filesystem;

namespace {

class FakeMenu : public PortMenu {
public:
    void SetPortEnabled(int port, bool enabled) override { enabled_.at(Index(port)) = enabled; }
    void SetPortChecked(int port, bool checked) override { checked_.at(Index(port)) = checked; }
    void SetRateChecked(int rate, bool checked) override { rates_[rate] = checked; }

    bool PortChecked(int port) const { return checked_.at(Index(port)); }
    std::vector<int> EnabledPorts() const { return Ports(enabled_); }
    std::vector<int> CheckedPorts() const { return Ports(checked_); }
    std::vector<int> CheckedRates() const {
        std::vector<int> rates;
        for (auto [rate, checked] : rates_)
            if (checked)
                rates.push_back(rate);
        return rates;
    }

private:
    static std::size_t Index(int port) { return static_cast<std::size_t>(port - 1); }
    static std::vector<int> Ports(const std::array<bool, kPortCount>& flags) {
        std::vector<int> ports;
        for (int n = 1; n <= kPortCount; ++n)
            if (flags[Index(n)])
                ports.push_back(n);
        return ports;
    }
    std::array<bool, kPortCount> enabled_{};
    std::array<bool, kPortCount> checked_{};
    std::map<int, bool> rates_;
};

// A pseudo-terminal standing in for a serial port; the test keeps the far end.
class Pty {
public:
    Pty() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0)
            path_ = name;
    }
    ~Pty() {
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& Path() const { return path_; }
    // The output speed the port was configured with, as the line itself reports it.
    speed_t Speed() const {
        termios tio{};
        ::tcgetattr(slave_, &tio);
        return ::cfgetospeed(&tio);
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// Every COM port is mapped explicitly, so that no device of the machine running the tests takes part:
// ports without a pseudo-terminal point to a path that does not exist.
class PortCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            savedXdg_ = old;
        char pattern[] = "/tmp/lexorant-ports-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
        devices_ = root_ / "brenno-lexorant" / "dosdevices";
        fs::create_directories(devices_);
        for (int n = 1; n <= kPortCount; ++n)
            Unplug(n);
    }
    void TearDown() override {
        port_.ClosePort();
        if (savedXdg_)
            ::setenv("XDG_CONFIG_HOME", savedXdg_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    void Plug(int n, const Pty& pty) { Map(n, pty.Path()); }
    void Unplug(int n) { Map(n, root_ / "gone"); }

    SerialPort port_;
    FakeMenu menu_;

private:
    void Map(int n, const fs::path& target) {
        const fs::path link = devices_ / ("com" + std::to_string(n));
        fs::remove(link);
        fs::create_symlink(target, link);
    }
    std::optional<std::string> savedXdg_;
    fs::path root_;
    fs::path devices_;
};

using Ports = std::vector<int>;

TEST_F(PortCommandsTest, NoPortsLeavesEverythingDisabledAndUnticked) {
    ProbePorts(port_, menu_);
    EXPECT_EQ(menu_.EnabledPorts(), Ports{});
    EXPECT_EQ(menu_.CheckedPorts(), Ports{});
    EXPECT_EQ(menu_.CheckedRates(), Ports{9600});
    EXPECT_FALSE(port_.IsOpen());
}

TEST_F(PortCommandsTest, ProbeOpensTheFirstUsablePortAt9600) {
    Pty com3, com5;
    ASSERT_FALSE(com3.Path().empty());
    ASSERT_FALSE(com5.Path().empty());
    Plug(3, com3);
    Plug(5, com5);
    ProbePorts(port_, menu_);
    EXPECT_EQ(menu_.EnabledPorts(), (Ports{3, 5}));
    EXPECT_EQ(menu_.CheckedPorts(), Ports{3});
    EXPECT_EQ(menu_.CheckedRates(), Ports{9600});
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_EQ(port_.PortName(), "COM3");
    EXPECT_EQ(port_.BitRate(), 9600);
    EXPECT_EQ(com3.Speed(), B9600);
}

TEST_F(PortCommandsTest, RateCommandReopensTheOpenPort) {
    Pty com3, com5;
    Plug(3, com3);
    Plug(5, com5);
    ProbePorts(port_, menu_);
    RateCommand(port_, menu_, 19200);
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_EQ(port_.PortName(), "COM3");
    EXPECT_EQ(com3.Speed(), B19200);
    EXPECT_EQ(menu_.CheckedRates(), Ports{19200});
    EXPECT_EQ(menu_.CheckedPorts(), Ports{3});

    RateCommand(port_, menu_, 1200);
    EXPECT_EQ(com3.Speed(), B1200);
    EXPECT_EQ(menu_.CheckedRates(), Ports{1200});
}

TEST_F(PortCommandsTest, RateWithoutOpenPortIsKeptForTheNextPortCommand) {
    ProbePorts(port_, menu_);
    RateCommand(port_, menu_, 19200);
    EXPECT_EQ(menu_.CheckedRates(), Ports{9600});
    EXPECT_EQ(menu_.CheckedPorts(), Ports{});
    EXPECT_FALSE(port_.IsOpen());

    Pty com3;
    Plug(3, com3);
    PortCommand(port_, menu_, 3);
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_EQ(menu_.CheckedPorts(), Ports{3});
    EXPECT_EQ(com3.Speed(), B19200);
}

TEST_F(PortCommandsTest, PortCommandMovesTheTickAndTheLine) {
    Pty com3, com5;
    Plug(3, com3);
    Plug(5, com5);
    ProbePorts(port_, menu_);
    PortCommand(port_, menu_, 5);
    EXPECT_EQ(menu_.CheckedPorts(), Ports{5});
    EXPECT_EQ(port_.PortName(), "COM5");
    EXPECT_TRUE(port_.IsOpen());
    // COM3 was closed: it can be opened by someone else again.
    SerialDevice other;
    EXPECT_EQ(other.Open(com3.Path(), 9600), SerialDevice::OpenResult::Opened);
}

TEST_F(PortCommandsTest, UnpluggedPortLeavesNoPortOpenOrTicked) {
    Pty com3, com5;
    Plug(3, com3);
    Plug(5, com5);
    ProbePorts(port_, menu_);
    Unplug(5);
    PortCommand(port_, menu_, 5);
    EXPECT_EQ(menu_.CheckedPorts(), Ports{});
    EXPECT_FALSE(port_.IsOpen());
    // The item stays enabled: only the probe at start-up decides that.
    EXPECT_EQ(menu_.EnabledPorts(), (Ports{3, 5}));
}

TEST_F(PortCommandsTest, PortHeldElsewhereFailsTheProbe) {
    Pty com3, com5;
    Plug(3, com3);
    Plug(5, com5);
    SerialDevice holder;
    ASSERT_EQ(holder.Open(com3.Path(), 9600), SerialDevice::OpenResult::Opened);
    ProbePorts(port_, menu_);
    EXPECT_EQ(menu_.EnabledPorts(), Ports{5});
    EXPECT_EQ(menu_.CheckedPorts(), Ports{5});
    EXPECT_EQ(port_.PortName(), "COM5");
}

} // namespace
