#pragma once
// The text shown for the message code in row 4 of a selected grid column.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lexorant {

inline constexpr const char* kMessageTextMissing = "Der Meldungstext wurde noch nicht eingepflegt";
inline constexpr const char* kNoMessageText = "Keine Meldung!";
inline constexpr const char* kConversionErrorText =
    "Variante des Typs (String) konnte nicht in Typ (Double) konvertiert werden";

// A cell text that is no number. The window shows its message in the box for errors that
// escape a handler.
class ConversionError : public std::runtime_error {
public:
    ConversionError() : std::runtime_error(kConversionErrorText) {}
};

// "0" gives kNoMessageText; otherwise the text is read as a number in the user's format (the
// given decimal separator, UTF-8) and looked up as a code. A number that is no code in the
// catalogue gives kMessageTextMissing. Throws ConversionError for a text that is no number.
std::string FindMessageText(std::string_view codeText, std::string_view decimalSeparator = ".");

// The text that FindMessageText gives for the code's integer text, without parsing.
std::string_view MessageTextOf(std::int16_t code);

// The number a cell text stands for, in the user's number format; nothing when it is no number.
bool ParseUserNumber(std::string_view text, std::string_view decimalSeparator, double& value);

} // namespace lexorant
