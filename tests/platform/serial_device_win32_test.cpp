// The serial line on Win32. The tests that need a controller take the port it is on from
// LEXORANT_TEST_PORT ("COM1"; a simulated unit with the serial number 4711-0815) and skip without.
#include "platform/dos_devices.h"
#include "platform/serial_device.h"
#include "tests/support/under_wine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>

using namespace lexorant;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

TEST(SerialDeviceWin32, TellsWhyALineCannotBeUsed) {
    SerialDevice device;
    EXPECT_EQ(device.Open(SerialDevicePath("\\\\.\\COM99"), 9600), SerialDevice::OpenResult::Unavailable);
    EXPECT_FALSE(device.IsOpen());

    const auto plain = std::filesystem::temp_directory_path() / "lexorant-plain-line.txt";
    std::ofstream(plain) << "x";
    EXPECT_EQ(device.Open(plain, 9600), SerialDevice::OpenResult::NoLineSettings);
    EXPECT_TRUE(device.IsOpen()) << "the handle is kept with the driver's settings";
    EXPECT_TRUE(device.Close());
    std::filesystem::remove(plain);
}

class SerialLine : public ::testing::Test {
protected:
    void SetUp() override {
        const char* port = std::getenv("LEXORANT_TEST_PORT");
        if (!port || !*port)
            GTEST_SKIP() << "no simulated unit (LEXORANT_TEST_PORT)";
        port_ = port;
        ASSERT_EQ(device.Open(SerialDevicePath(port_), 9600), SerialDevice::OpenResult::Opened);
    }

    std::string port_;
    SerialDevice device;
};

TEST_F(SerialLine, ReturnsAtOnceWhenTheLimitIsReachedAndKeepsTheRestForTheNextRead) {
    const auto start = Clock::now();
    const Exchanged head = device.Exchange("SN?\r\n", 5);
    EXPECT_EQ(head.answer, "SN 47");
    EXPECT_EQ(head.end, ExchangeEnd::CountReached);
    const Exchanged rest = device.Exchange("", 9);
    EXPECT_EQ(rest.answer, "11-0815\r\n");
    EXPECT_LT(Since(start), 1500ms);
}

TEST_F(SerialLine, ShortAnswerEndsWithTheTimeOut) {
    const auto start = Clock::now();
    const Exchanged got = device.Exchange("SN?\r\n", 254);
    EXPECT_EQ(got.answer, "SN 4711-0815\r\n");
    EXPECT_EQ(got.end, ExchangeEnd::TimedOut);
    const auto elapsed = Since(start);
    EXPECT_GE(elapsed, 1990ms); // the driver counts in its own ticks
    EXPECT_LT(elapsed, 3500ms);
}

TEST_F(SerialLine, HeldPortCannotBeOpenedTwice) {
    if (test::UnderWine())
        GTEST_SKIP() << "Wine opens a serial port again despite share mode 0";
    SerialDevice second;
    EXPECT_EQ(second.Open(SerialDevicePath(port_), 9600), SerialDevice::OpenResult::Unavailable);
    EXPECT_FALSE(second.IsOpen());
}

TEST_F(SerialLine, CancelWakesABlockedExchangeUntilReset) {
    if (test::UnderWine())
        GTEST_SKIP() << "Wine runs a cancelled serial read on to its time-out";
    // Whether the cancel meets the read or comes before it, the exchange ends long before its time-out.
    auto exchange = std::async(std::launch::async, [&] { return device.Exchange("SN?\r\n", 254); });
    const auto cancelled = Clock::now();
    device.Cancel();
    ASSERT_EQ(exchange.wait_for(1500ms), std::future_status::ready);
    EXPECT_LT(Since(cancelled), 500ms);
    EXPECT_EQ(exchange.get().end, ExchangeEnd::Cancelled);
    EXPECT_EQ(device.Exchange("SN?\r\n", 5).end, ExchangeEnd::Cancelled);
    device.ResetCancel();
    EXPECT_NE(device.Exchange("SN?\r\n", 5).end, ExchangeEnd::Cancelled);
}

} // namespace
