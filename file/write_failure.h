#pragma once
// The one text for a file that could not be written, whatever was being written: a read-out, a
// report, an export or a picture.
#include <string>
#include <string_view>

namespace lexorant {

// "Unable to write file " + fileName, then ": " + reason when the writer said why.
std::string WriteFailureText(std::string_view fileName, std::string_view reason = {});

} // namespace lexorant
