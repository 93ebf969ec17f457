#pragma once
// A serial device opened exclusively (POSIX termios or Win32 communications), with the read
// time-out that the controller's protocol relies on and a cancel that wakes a blocked exchange
// from any thread.
#include "platform/exchange_end.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace lexorant {

class SerialDevice {
public:
    enum class OpenResult {
        Opened,          // open and configured
        Unavailable,     // missing, not permitted, or held elsewhere: no descriptor kept
        NoLineSettings,  // opened, but the line settings cannot be read: descriptor kept
        Rejected,        // opened, but the line settings were not accepted: descriptor kept
    };

    SerialDevice();
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    OpenResult Open(const std::filesystem::path& path, int bitRate);
    // True when nothing was held or the descriptor closed cleanly.
    bool Close();
    bool IsOpen() const { return handle_ != kNone; }

    // Writes every byte of request, then reads until limit bytes have arrived, the time-out
    // after the start of the read has passed, the far end has hung up, or Cancel() was called;
    // says which of these ended it.
    Exchanged Exchange(const std::string& request, std::size_t limit,
                         std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    // Wakes a blocked Exchange and makes every later one return at once, until ResetCancel().
    void Cancel();
    void ResetCancel();

private:
    // A descriptor (POSIX) or a HANDLE (Win32); both say -1 for none.
    using Handle = std::intptr_t;
    static constexpr Handle kNone = -1;

    // 0 when every byte went out, else the errno or GetLastError() (ECANCELED or
    // ERROR_OPERATION_ABORTED when cancelled).
    int WriteAll(const std::string& bytes);
    Handle handle_ = kNone;
    Handle cancel_ = kNone; // an eventfd (POSIX) or a manual-reset event (Win32)
    std::chrono::milliseconds appliedTimeout_{0}; // the read time-out the Win32 driver holds
};

} // namespace lexorant
