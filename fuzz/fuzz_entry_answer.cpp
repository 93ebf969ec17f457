// Entry answers of any length, for any announced answer length, must stay inside their slot.
#include "link/protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kGuard = 64;
constexpr std::uint8_t kGuardByte = 0xA5;

void Evaluate(std::string_view received, std::size_t answerLength, std::size_t slotSize) {
    std::array<std::uint8_t, kGuard + 96 + kGuard> bytes;
    bytes.fill(kGuardByte);
    std::uint8_t* slot = bytes.data() + kGuard;
    std::memset(slot, 0x5A, slotSize);

    const auto outcome = lexorant::EvaluateEntryAnswer(received, answerLength, slot, slotSize);

    for (std::size_t i = 0; i < kGuard; ++i)
        if (bytes[i] != kGuardByte)
            std::abort();
    for (std::size_t i = kGuard + slotSize; i < bytes.size(); ++i)
        if (bytes[i] != kGuardByte)
            std::abort();
    // A failed entry leaves nothing behind in its slot.
    if (outcome != lexorant::EntryOutcome::Good)
        for (std::size_t i = 0; i < slotSize; ++i)
            if (slot[i] != 0)
                std::abort();
}

} // namespace

// The first two bytes are the announced answer length (little-endian, 0..65535); the rest is
// what the line delivered. Both slot sizes, G-Info's and X-Info's, are tried on every input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t answerLength = data[0] | static_cast<std::size_t>(data[1]) << 8;
    const std::string_view received(reinterpret_cast<const char*>(data + 2), size - 2);
    Evaluate(received, answerLength, 16);
    Evaluate(received, answerLength, 96);
    return 0;
}
