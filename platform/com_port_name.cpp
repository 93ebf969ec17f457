#include "platform/dos_devices.h"

namespace lexorant {

std::optional<int> ComPortNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 5)
        return std::nullopt;
    for (int i = 0; i < 3; ++i)
        if ((name[i] & ~0x20) != "COM"[i]) // ASCII upper case, whatever the locale
            return std::nullopt;
    int n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
        n = n * 10 + (name[i] - '0');
    }
    if (name[3] == '0' || n < 1 || n > 15)
        return std::nullopt;
    return n;
}

} // namespace lexorant
