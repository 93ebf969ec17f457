#include "platform/decimal_separator.h"

#include <windows.h>

namespace lexorant {

std::string UserDecimalSeparator() {
    wchar_t wide[8] = {};
    const int n = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, wide, 8);
    if (n <= 1)
        return ".";
    char utf8[32] = {};
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, n - 1, utf8, sizeof utf8, nullptr, nullptr);
    return bytes > 0 ? std::string(utf8, static_cast<std::size_t>(bytes)) : std::string(".");
}

} // namespace lexorant
