// Any bytes the line delivers as a "GI?", "XI?" or "SN?" answer must parse without fault.
#include "link/protocol.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view received(reinterpret_cast<const char*>(data), size);
    for (char letter : {'G', 'X'}) {
        if (const auto header = lexorant::ParseHeaderAnswer(received, letter)) {
            // An accepted answer carries its prefix and its line end.
            if (received.size() < 5 || (received[0] & ~0x20) != letter)
                std::abort();
        }
    }
    if (const auto serial = lexorant::ParseSerialAnswer(received)) {
        // The serial number is the text between "SN " and the final CR LF, never more.
        if (serial->size() + 5 > received.size() || serial->find('\0') != std::string::npos)
            std::abort();
    }
    return 0;
}
