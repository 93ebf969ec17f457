#include "link/wire_trace.h"

#include "link/serial_port.h"

#include "platform/dos_devices.h"
#include "platform/write_stream.h"

#include <system_error>

namespace lexorant {

namespace {

std::string Bytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string hex;
    std::string ascii;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
        hex += ' ';
        ascii += b >= 0x20 && b < 0x7F ? c : '.';
    }
    if (bytes.empty())
        return "0 bytes";
    return std::to_string(bytes.size()) + " bytes: " + hex + "|" + ascii + "|";
}

} // namespace

std::string ExchangeEndText(const Exchanged& exchanged) {
    switch (exchanged.end) {
    case ExchangeEnd::CountReached:
        return "count reached";
    case ExchangeEnd::TimedOut:
        return "time-out after " + std::to_string(exchanged.timeout.count()) + " ms";
    case ExchangeEnd::HungUp:
        return exchanged.error != 0 ? "hung up: " + std::generic_category().message(exchanged.error)
                                    : "hung up";
    case ExchangeEnd::Cancelled:
        return "cancelled";
    case ExchangeEnd::WriteFailed:
        return "write failed: " + std::generic_category().message(exchanged.error);
    case ExchangeEnd::NotOpen:
        break;
    }
    return "no port open";
}

std::unique_ptr<WireTrace> WireTrace::Open(const std::string& name, std::string& error) {
    const auto path = ResolveWindowsPath(name);
    if (!path) {
        error = kUnreachableDriveText;
        return nullptr;
    }
    std::FILE* out = OpenWriteStream(*path, error);
    if (!out)
        return nullptr;
    return std::unique_ptr<WireTrace>(new WireTrace(out));
}

WireTrace::WireTrace(std::FILE* out) : out_(out), start_(std::chrono::steady_clock::now()) {}

WireTrace::~WireTrace() {
    std::fclose(out_);
}

void WireTrace::Request(std::string_view bytes) {
    WriteLine('>', Bytes(bytes));
}

void WireTrace::Answer(const Exchanged& exchanged) {
    WriteLine('<', Bytes(exchanged.answer) + " " + ExchangeEndText(exchanged));
}

void WireTrace::Note(std::string_view text) {
    WriteLine('#', std::string(text));
}

void WireTrace::WriteLine(char direction, const std::string& rest) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    std::fprintf(out_, "%7lld ms %c %s\n", static_cast<long long>(ms.count()), direction, rest.c_str());
    // Line by line, so that the trace of a program that is killed or hangs is complete.
    std::fflush(out_);
}

} // namespace lexorant
