#pragma once
// How one exchange on the serial line ended, so that a failed identification can say why.
#include <chrono>
#include <string>

namespace lexorant {

enum class ExchangeEnd {
    CountReached, // every byte asked for arrived
    TimedOut,     // the read time-out passed first (answer holds what came)
    HungUp,       // the far end closed or the device reported an error (error holds errno)
    Cancelled,    // Cancel() was called, before or during the exchange
    WriteFailed,  // the request could not be written (error holds errno)
    NotOpen,      // no device was open
};

struct Exchanged {
    std::string answer;
    ExchangeEnd end = ExchangeEnd::NotOpen;
    int error = 0; // errno (POSIX) or GetLastError() (Win32) where the end carries one
    std::chrono::milliseconds timeout{0}; // how long the read was allowed to wait
};

} // namespace lexorant
