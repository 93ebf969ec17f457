#include "tools/cli/commands.h"
#include "platform/decimal_separator.h"
#include "catalogue/find_message_text.h"

#include <cstdio>

namespace lexorant::cli {

int Message(const Arguments& args) {
    // A negative code such as "-4" is the code itself, never an option.
    if (args.size() != 1) {
        std::fputs("lexorant-cli message: expects exactly one CODE\n", stderr);
        return 1;
    }
    try {
        std::printf("%s\n", FindMessageText(args[0], UserDecimalSeparator()).c_str());
        return 0;
    } catch (const ConversionError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace lexorant::cli
