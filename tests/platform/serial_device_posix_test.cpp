#include "platform/serial_device.h"

#include "tests/support/sim_pty_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <future>
#include <sys/ioctl.h>
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
    EXPECT_EQ(answer.wait_for(0ms), std::future_status::timeout); // still waiting: nothing has come
    peer.Send("SN 4711\r\n");
    const Exchanged got = answer.get();
    EXPECT_EQ(got.answer, "SN 4711\r\n");
    EXPECT_EQ(got.end, ExchangeEnd::CountReached);
}

TEST_F(SerialDeviceTest, ReturnsAtOnceWhenTheLimitIsReachedAndKeepsTheRestForTheNextRead) {
    peer.Send("GI 24000078\r\nXI");
    const Exchanged first = device.Exchange("GI?\r\n", 13);
    EXPECT_EQ(first.answer, "GI 24000078\r\n");
    EXPECT_EQ(first.end, ExchangeEnd::CountReached);
    const Exchanged second = device.Exchange("XI?\r\n", 2);
    EXPECT_EQ(second.answer, "XI");
    EXPECT_EQ(second.end, ExchangeEnd::CountReached);
    EXPECT_EQ(peer.Receive(), "GI?\r\nXI?\r\n");
}

TEST_F(SerialDeviceTest, ShortAnswerEndsWithTheTimeOut) {
    peer.Send("0123456789");
    const auto start = Clock::now();
    const Exchanged got = device.Exchange("\r\n", 254, 100ms);
    EXPECT_EQ(got.answer, "0123456789");
    EXPECT_EQ(got.end, ExchangeEnd::TimedOut);
    EXPECT_EQ(got.timeout, 100ms);
    EXPECT_GE(Since(start), 100ms);
}

TEST_F(SerialDeviceTest, FarEndHangingUpEndsTheExchangeWithoutSpinning) {
    // Hung up once the request is out. The default time-out is far longer than the hang-up takes, so
    // an exchange that missed it would end timed out, and spinning would show in the CPU time.
    auto hangUp = std::async(std::launch::async, [&] {
        if (!peer.Receive().empty())
            peer.HangUp();
    });
    const auto cpuBefore = ThreadCpuTime();
    const Exchanged got = device.Exchange("SN?\r\n", 254);
    EXPECT_EQ(got.answer, "");
    EXPECT_EQ(got.end, ExchangeEnd::HungUp);
    hangUp.get();

    // A hung-up line must not turn every later exchange into a busy loop either.
    const Exchanged again = device.Exchange("SN?\r\n", 254);
    EXPECT_EQ(again.answer, "");
    EXPECT_NE(again.end, ExchangeEnd::TimedOut); // ends at once (the request cannot go out)
    EXPECT_LT(ThreadCpuTime() - cpuBefore, 150ms);
}

TEST_F(SerialDeviceTest, CancelWakesABlockedExchangeUntilReset) {
    // Blocked in an exchange whose time-out lies far beyond the cancel: only the cancel can end it.
    auto exchange = std::async(std::launch::async, [&] { return device.Exchange("SN?\r\n", 254, 60s); });
    EXPECT_EQ(peer.Receive(), "SN?\r\n");
    device.Cancel();
    EXPECT_EQ(exchange.get().end, ExchangeEnd::Cancelled);

    // Cancelled: nothing is sent any more.
    EXPECT_EQ(device.Exchange("GI?\r\n", 13).end, ExchangeEnd::Cancelled);

    device.ResetCancel();
    peer.Send("XI c4020010\r\n");
    EXPECT_EQ(device.Exchange("XI?\r\n", 13).answer, "XI c4020010\r\n");
    EXPECT_EQ(peer.Receive(), "XI?\r\n"); // the cancelled "GI?" never went out
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
