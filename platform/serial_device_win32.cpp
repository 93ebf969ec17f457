#include "platform/serial_device.h"

#include <windows.h>

namespace lexorant {

namespace {

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

bool Supported(int bitRate) {
    for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        if (bitRate == rate)
            return true;
    return false;
}

// One overlapped transfer on the port, waited for together with the cancel event. A cancelled
// transfer is stopped with CancelIoEx and still reports what it moved before.
struct Transfer {
    DWORD moved = 0;
    DWORD error = ERROR_SUCCESS; // ERROR_OPERATION_ABORTED when cancelled
};

template <typename Start>
Transfer Run(HANDLE port, HANDLE cancel, DWORD waitLimit, Start start) {
    Transfer t;
    OVERLAPPED ov{};
    ov.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ov.hEvent) {
        t.error = ::GetLastError();
        return t;
    }
    if (!start(&ov) && ::GetLastError() != ERROR_IO_PENDING) {
        t.error = ::GetLastError();
        ::CloseHandle(ov.hEvent);
        return t;
    }
    const HANDLE events[2] = {ov.hEvent, cancel};
    const DWORD woke = ::WaitForMultipleObjects(2, events, FALSE, waitLimit);
    if (woke != WAIT_OBJECT_0)
        ::CancelIoEx(port, &ov); // cancelled, or a driver that ignores its own time-out
    if (!::GetOverlappedResult(port, &ov, &t.moved, TRUE))
        t.error = ::GetLastError();
    if (woke == WAIT_OBJECT_0 + 1)
        t.error = ERROR_OPERATION_ABORTED;
    ::CloseHandle(ov.hEvent);
    return t;
}

// Windows ends a read at its total time-out with success; Wine with the time-out status itself.
bool TimeOutCode(DWORD error) {
    return error == WAIT_TIMEOUT || error == ERROR_SEM_TIMEOUT || error == ERROR_TIMEOUT;
}

// How long to wait beyond the driver's own read time-out before stopping the read ourselves.
constexpr DWORD kDriverGrace = 3000;

} // namespace

SerialDevice::SerialDevice()
    : cancel_(reinterpret_cast<std::intptr_t>(::CreateEventW(nullptr, TRUE, FALSE, nullptr))) {}

SerialDevice::~SerialDevice() {
    Close();
    if (cancel_ != 0)
        ::CloseHandle(H(cancel_));
}

SerialDevice::OpenResult SerialDevice::Open(const std::filesystem::path& path, int bitRate) {
    Close();
    // Share mode 0: nobody else may hold the port while we do. Overlapped, so that a blocked
    // exchange can be woken from another thread.
    const HANDLE port = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return OpenResult::Unavailable;
    handle_ = reinterpret_cast<std::intptr_t>(port);

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(port, &dcb))
        return OpenResult::NoLineSettings;
    if (!Supported(bitRate))
        return OpenResult::Rejected;
    dcb.BaudRate = static_cast<DWORD>(bitRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.EofChar = 0;
    dcb.EvtChar = 0;
    if (!::SetCommState(port, &dcb))
        return OpenResult::Rejected;

    COMMTIMEOUTS timeouts{};
    ::GetCommTimeouts(port, &timeouts);
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 2000;
    appliedTimeout_ = ::SetCommTimeouts(port, &timeouts) ? std::chrono::milliseconds(2000)
                                                         : std::chrono::milliseconds(0);
    // Whatever the line delivered before we held it belongs to nobody.
    ::PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    return OpenResult::Opened;
}

bool SerialDevice::Close() {
    if (handle_ == kNone)
        return true;
    const bool ok = ::CloseHandle(H(handle_)) != 0;
    handle_ = kNone;
    return ok;
}

int SerialDevice::WriteAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(bytes.size() - done);
        const Transfer t = Run(H(handle_), H(cancel_), INFINITE, [&](OVERLAPPED* ov) {
            return ::WriteFile(H(handle_), bytes.data() + done, want, nullptr, ov) != 0;
        });
        if (t.error != ERROR_SUCCESS)
            return static_cast<int>(t.error);
        if (t.moved == 0)
            return ERROR_WRITE_FAULT; // a driver that takes nothing would keep us here forever
        done += t.moved;
    }
    return 0;
}

Exchanged SerialDevice::Exchange(const std::string& request, std::size_t limit,
                                 std::chrono::milliseconds timeout) {
    Exchanged result;
    result.timeout = timeout;
    if (handle_ == kNone)
        return result;
    if (::WaitForSingleObject(H(cancel_), 0) == WAIT_OBJECT_0) {
        result.end = ExchangeEnd::Cancelled;
        return result;
    }
    if (const int error = WriteAll(request); error != 0) {
        const bool cancelled = error == ERROR_OPERATION_ABORTED;
        result.end = cancelled ? ExchangeEnd::Cancelled : ExchangeEnd::WriteFailed;
        result.error = cancelled ? 0 : error;
        return result;
    }

    // The driver ends the read when limit bytes are in or the total time-out has passed.
    if (timeout != appliedTimeout_) {
        COMMTIMEOUTS timeouts{};
        ::GetCommTimeouts(H(handle_), &timeouts);
        timeouts.ReadIntervalTimeout = 0;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(timeout.count());
        if (::SetCommTimeouts(H(handle_), &timeouts))
            appliedTimeout_ = timeout;
    }
    result.answer.resize(limit);
    const DWORD wait = static_cast<DWORD>(timeout.count()) + kDriverGrace;
    const Transfer t = Run(H(handle_), H(cancel_), wait, [&](OVERLAPPED* ov) {
        return ::ReadFile(H(handle_), result.answer.data(), static_cast<DWORD>(limit), nullptr, ov) != 0;
    });
    result.answer.resize(t.moved);
    if (t.error == ERROR_OPERATION_ABORTED && ::WaitForSingleObject(H(cancel_), 0) == WAIT_OBJECT_0) {
        result.end = ExchangeEnd::Cancelled;
    } else if (t.error != ERROR_SUCCESS && t.error != ERROR_OPERATION_ABORTED && !TimeOutCode(t.error)) {
        result.end = ExchangeEnd::HungUp; // e.g. a USB adapter pulled out
        result.error = static_cast<int>(t.error);
    } else {
        result.end = t.moved == limit ? ExchangeEnd::CountReached : ExchangeEnd::TimedOut;
    }
    return result;
}

void SerialDevice::Cancel() { ::SetEvent(H(cancel_)); }

void SerialDevice::ResetCancel() { ::ResetEvent(H(cancel_)); }

} // namespace lexorant
