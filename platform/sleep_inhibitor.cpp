#include "platform/sleep_inhibitor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace lexorant {

namespace {

constexpr std::uint64_t kAnswerWaitMicroseconds = 2'000'000;

std::string ErrorText(int negativeErrno, const sd_bus_error* error) {
    if (error && sd_bus_error_is_set(error))
        return error->message ? error->message : error->name;
    return std::strerror(-negativeErrno);
}

} // namespace

SleepInhibitor::SleepInhibitor(const std::string& why) {
    sd_bus* bus = nullptr;
    sd_bus_message* call = nullptr;
    sd_bus_message* reply = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    int r = sd_bus_open_system(&bus);
    if (r >= 0)
        r = sd_bus_message_new_method_call(bus, &call, "org.freedesktop.login1", "/org/freedesktop/login1",
                                           "org.freedesktop.login1.Manager", "Inhibit");
    if (r >= 0)
        r = sd_bus_message_append(call, "ssss", "sleep:idle", "Brenno Lexorant", why.c_str(), "block");
    if (r >= 0)
        r = sd_bus_call(bus, call, kAnswerWaitMicroseconds, &error, &reply);
    int fd = -1;
    if (r >= 0)
        r = sd_bus_message_read(reply, "h", &fd);
    if (r >= 0) {
        // The descriptor belongs to the reply; the lock lasts as long as a copy of it is open.
        handle_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        if (handle_ < 0) {
            handle_ = -1;
            r = -errno;
        }
    }
    if (r < 0)
        failure_ = ErrorText(r, &error);
    sd_bus_error_free(&error);
    sd_bus_message_unref(reply);
    sd_bus_message_unref(call);
    sd_bus_flush_close_unref(bus);
}

SleepInhibitor::~SleepInhibitor() {
    if (handle_ != -1)
        ::close(static_cast<int>(handle_));
}

} // namespace lexorant
