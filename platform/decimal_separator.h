#pragma once
// The decimal separator of the user's regional settings.
#include <string>
#include <string_view>

namespace lexorant {

// UTF-8, "." when the settings give none. On POSIX systems the numeric locale of the environment
// (LC_ALL, LC_NUMERIC, LANG); where the C library does not have that locale, the separator that its
// language customarily uses.
std::string UserDecimalSeparator();

// The customary separator for a locale name such as "de_DE.UTF-8": "," or ".".
std::string_view CustomaryDecimalSeparator(std::string_view localeName);

} // namespace lexorant
