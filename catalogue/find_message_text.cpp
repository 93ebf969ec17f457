#include "catalogue/find_message_text.h"

#include "catalogue/message_catalogue.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace lexorant {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

} // namespace

bool ParseUserNumber(std::string_view text, std::string_view decimalSeparator, double& value) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    // Rewritten into the C locale's form, accepting only what a number in the user's format holds.
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        plain += text[i];
    if (!decimalSeparator.empty() && text.substr(i).starts_with(decimalSeparator)) {
        plain += '.';
        for (i += decimalSeparator.size(); i < text.size() && IsDigit(text[i]); ++i, ++digits)
            plain += text[i];
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        std::size_t exponentDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++exponentDigits)
            plain += text[i];
        if (exponentDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return result.ec == std::errc() && result.ptr == plain.data() + plain.size();
}

std::string FindMessageText(std::string_view codeText, std::string_view decimalSeparator) {
    if (codeText == "0")
        return kNoMessageText;
    double value = 0;
    if (!ParseUserNumber(codeText, decimalSeparator, value))
        throw ConversionError();
    // A number is a code only when it is a whole 16-bit one; "-0" is no code of the catalogue either.
    const bool code = value == std::trunc(value) && value >= INT16_MIN && value <= INT16_MAX;
    const char* text = code ? CatalogueText(static_cast<std::int16_t>(value)) : nullptr;
    return text != nullptr ? text : kMessageTextMissing;
}

std::string_view MessageTextOf(std::int16_t code) {
    if (code == 0)
        return kNoMessageText;
    const char* text = CatalogueText(code);
    return text != nullptr ? text : kMessageTextMissing;
}

} // namespace lexorant
