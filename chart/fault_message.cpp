#include "fault_message.h"

#include <array>

namespace lexorant {

bool IsFaultMessage(std::int16_t code) {
    struct Range {
        int low, high;
    };
    static constexpr std::array<Range, 5> kFaults = {
        {{-1032, -1}, {-3129, -3000}, {-4300, -4200}, {-8191, -8190}, {-20001, -20000}}};
    for (const Range& r : kFaults)
        if (code >= r.low && code <= r.high)
            return true;
    return false;
}

} // namespace lexorant
