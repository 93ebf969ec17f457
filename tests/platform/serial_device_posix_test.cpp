#include "platform/serial_device.h"

#include "tests/support/sim_pty_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <future>
#include <sys/ioctl.h>
#include <thread>
#include <time.h>
#include <unistd.h>

using namespace lexorant;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::SimPtyPeer;

namespace {

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

std::chrono::milliseconds ThreadCpuTime() {
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::seconds(ts.tv_sec) +
                                                                 std::chrono::nanoseconds(ts.tv_nsec));
}

class SerialDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(device.Open(peer.SlavePath(), 9600), SerialDevice::OpenResult::Opened);
    }

    SimPtyPeer peer;
    SerialDevice device;
};

TEST_F(SerialDeviceTest, SendsTheRequestAndWaitsForAnAnswerThatComesLater) {
    auto answer = std::async(std::launch::async, [&] { return device.Exchange("SN?\r\n", 9); });
    EXPECT_EQ(peer.Receive(), "SN?\r\n");
    std::this_thread::sleep_for(300ms);
    peer.Send("SN 4711\r\n");
    const Exchanged got = answer.get();
    EXPECT_EQ(got.answer, "SN 4711\r\n");
    EXPECT_EQ(got.end, ExchangeEnd::CountReached);
}

TEST_F(SerialDeviceTest, ReturnsAtOnceWhenTheLimitIsReachedAndKeepsTheRestForTheNextRead) {
    peer.Send("GI 24000078\r\nXI");
    const auto start = Clock::now();
    EXPECT_EQ(device.Exchange("GI?\r\n", 13).answer, "GI 24000078\r\n");
    EXPECT_EQ(device.Exchange("XI?\r\n", 2).answer, "XI");
    EXPECT_LT(Since(start), 1000ms);
    EXPECT_EQ(peer.Receive(), "GI?\r\nXI?\r\n");
}

TEST_F(SerialDeviceTest, ShortAnswerEndsWithTheTimeOut) {
    peer.Send("0123456789");
    const auto start = Clock::now();
    const Exchanged got = device.Exchange("\r\n", 254);
    EXPECT_EQ(got.answer, "0123456789");
    EXPECT_EQ(got.end, ExchangeEnd::TimedOut);
    const auto elapsed = Since(start);
    EXPECT_GE(elapsed, 2000ms);
    EXPECT_LT(elapsed, 3000ms);
}

TEST_F(SerialDeviceTest, FarEndHangingUpEndsTheExchangeWithoutSpinning) {
    auto hangUp = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(300ms);
        peer.HangUp();
    });
    const auto start = Clock::now();
    const auto cpuBefore = ThreadCpuTime();
    const Exchanged got = device.Exchange("SN?\r\n", 254);
    EXPECT_EQ(got.answer, "");
    EXPECT_EQ(got.end, ExchangeEnd::HungUp);
    EXPECT_LT(Since(start), 1500ms);
    hangUp.get();

    // A hung-up line must not turn every later exchange into a busy loop either.
    const auto again = Clock::now();
    EXPECT_EQ(device.Exchange("SN?\r\n", 254).answer, "");
    EXPECT_LT(Since(again), 500ms);
    EXPECT_LT(ThreadCpuTime() - cpuBefore, 150ms);
}

TEST_F(SerialDeviceTest, CancelWakesABlockedExchangeUntilReset) {
    auto exchange = std::async(std::launch::async, [&] { return device.Exchange("SN?\r\n", 254); });
    EXPECT_EQ(peer.Receive(), "SN?\r\n");
    const auto cancelled = Clock::now();
    device.Cancel();
    ASSERT_EQ(exchange.wait_for(1000ms), std::future_status::ready);
    EXPECT_LT(Since(cancelled), 250ms);
    EXPECT_EQ(exchange.get().end, ExchangeEnd::Cancelled);

    // Cancelled: nothing is sent any more.
    EXPECT_EQ(device.Exchange("GI?\r\n", 13).end, ExchangeEnd::Cancelled);
    EXPECT_EQ(peer.Receive(100ms), "");

    device.ResetCancel();
    peer.Send("XI c4020010\r\n");
    EXPECT_EQ(device.Exchange("XI?\r\n", 13).answer, "XI c4020010\r\n");
}

TEST_F(SerialDeviceTest, HeldPortCannotBeOpenedTwice) {
    SerialDevice second;
    EXPECT_EQ(second.Open(peer.SlavePath(), 9600), SerialDevice::OpenResult::Unavailable);
    EXPECT_FALSE(second.IsOpen());
}

TEST_F(SerialDeviceTest, ExclusiveFlagDoesNotOutliveTheClose) {
    // Asked through a descriptor of our own: root may open an exclusive line anyway.
    auto exclusive = [&] {
        const int fd = ::open(peer.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        int flag = -1;
        if (fd >= 0) {
            ::ioctl(fd, TIOCGEXCL, &flag);
            ::close(fd);
        }
        return flag;
    };
    EXPECT_EQ(exclusive(), 1);
    EXPECT_TRUE(device.Close());
    EXPECT_EQ(exclusive(), 0);

    SerialDevice again;
    EXPECT_EQ(again.Open(peer.SlavePath(), 9600), SerialDevice::OpenResult::Opened);
}

struct OpenCase {
    const char* name;
    int bitRate;
    SerialDevice::OpenResult expected;
    bool keepsDescriptor;
};

class SerialDeviceOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(SerialDeviceOpenTest, TellsWhyALineCannotBeUsed) {
    SimPtyPeer peer;
    char plainFile[] = "/tmp/lexorant-plain-XXXXXX";
    const int fd = ::mkstemp(plainFile);
    ASSERT_GE(fd, 0);
    ::close(fd);

    const std::string which = GetParam().name;
    const std::string path = which == "plain file" ? plainFile
                             : which == "missing"  ? "/dev/lexorant-no-such-device"
                                                   : peer.SlavePath();
    SerialDevice device;
    EXPECT_EQ(device.Open(path, GetParam().bitRate), GetParam().expected);
    EXPECT_EQ(device.IsOpen(), GetParam().keepsDescriptor);
    device.Close();
    std::remove(plainFile);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SerialDeviceOpenTest,
    ::testing::Values(OpenCase{"plain file", 9600, SerialDevice::OpenResult::NoLineSettings, true},
                      OpenCase{"missing", 9600, SerialDevice::OpenResult::Unavailable, false},
                      OpenCase{"odd bit rate", 1234, SerialDevice::OpenResult::Rejected, true},
                      OpenCase{"pseudo-terminal", 19200, SerialDevice::OpenResult::Opened, true}));

} // namespace
