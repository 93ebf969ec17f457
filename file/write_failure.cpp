#include "file/write_failure.h"

namespace lexorant {

std::string WriteFailureText(std::string_view fileName, std::string_view reason) {
    std::string text = "Unable to write file ";
    text += fileName;
    if (!reason.empty()) {
        text += ": ";
        text += reason;
    }
    return text;
}

} // namespace lexorant
