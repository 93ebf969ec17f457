#pragma once
// A record of what went over the serial line, for support: one line per request and per answer,
// with the time since the trace began, the bytes as hex and as printable ASCII, and how each
// answer ended. Safe to use from the window thread and the reading thread at once.
#include "platform/exchange_end.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace lexorant {

class WireTrace {
public:
    // Creates or truncates the file a user's name means (drive letters mapped); nothing, and error
    // says why, when it cannot be written. A named pipe without a reader is refused at once.
    static std::unique_ptr<WireTrace> Open(const std::string& name, std::string& error);
    ~WireTrace();
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    void Request(std::string_view bytes);
    void Answer(const Exchanged& exchanged);
    // A line of its own, e.g. why the identification failed.
    void Note(std::string_view text);

private:
    explicit WireTrace(std::FILE* out);
    void WriteLine(char direction, const std::string& rest);

    std::mutex mutex_;
    std::FILE* out_;
    std::chrono::steady_clock::time_point start_;
};

// How an exchange ended, as the trace says it: "count reached", "time-out after 2000 ms", ...
std::string ExchangeEndText(const Exchanged& exchanged);

} // namespace lexorant
