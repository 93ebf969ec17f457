#include "platform/decimal_separator.h"

#include <algorithm>
#include <iterator>
#include <cstdlib>
#ifndef _WIN32
#include <langinfo.h>
#include <locale.h>
#endif

namespace lexorant {

namespace {

// Languages that write a decimal comma, and the regions where theirs is a point all the same.
constexpr std::string_view kCommaLanguages[] = {
    "af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es", "et", "eu", "fi", "fo", "fr",
    "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk", "ky", "lt", "lv", "mk", "mn", "nb", "nl",
    "nn", "no", "pl", "pt", "ro", "ru", "sk", "sl", "sq", "sr", "sv", "tr", "uk", "uz", "vi", "lb"};
constexpr std::string_view kPointRegions[] = {"de_CH", "de_LI", "it_CH", "es_MX", "es_US"};

// The name that the C library would take for LC_NUMERIC.
[[maybe_unused]] std::string_view NumericLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

} // namespace

std::string_view CustomaryDecimalSeparator(std::string_view localeName) {
    const std::string_view region = localeName.substr(0, localeName.find_first_of(".@"));
    const std::string_view language = region.substr(0, region.find('_'));
    if (std::ranges::find(kPointRegions, region) != std::end(kPointRegions))
        return ".";
    return std::ranges::find(kCommaLanguages, language) != std::end(kCommaLanguages) ? "," : ".";
}

#ifndef _WIN32 // the Win32 one asks the regional settings (decimal_separator_win32.cpp)
std::string UserDecimalSeparator() {
    // A locale object of its own: the process's C locale, which number parsing relies on, stays as it is.
    if (locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr))) {
        std::string separator = nl_langinfo_l(RADIXCHAR, numeric);
        freelocale(numeric);
        return separator.empty() ? "." : separator;
    }
    return std::string(CustomaryDecimalSeparator(NumericLocaleName()));
}

#endif

} // namespace lexorant
