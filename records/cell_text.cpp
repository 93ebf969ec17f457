#include "records/cell_text.h"

#include <charconv>
#include <cmath>

namespace lexorant {

namespace {

constexpr int kSignificantDigits = 15;
// Decimal exponents (after rounding) that are laid out in fixed notation: 1E-4 up to below 1E15.
constexpr int kMinFixedExponent = -4;
constexpr int kMaxFixedExponent = 14;

// `digits` has no trailing zeros and at least one digit; the first is the one before the point.
void AppendFixed(std::string& out, std::string_view digits, int exponent, std::string_view separator) {
    if (exponent < 0) {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return;
    }
    const auto intLength = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intLength) {
        out += digits;
        out.append(intLength - digits.size(), '0');
    } else {
        out += digits.substr(0, intLength);
        out += separator;
        out += digits.substr(intLength);
    }
}

void AppendExponent(std::string& out, std::string_view digits, int exponent, std::string_view separator) {
    out += digits[0];
    if (digits.size() > 1) {
        out += separator;
        out += digits.substr(1);
    }
    out += 'E';
    if (exponent < 0) {
        out += '-';
    }
    AppendIntegerText(out, std::abs(exponent));
}

// "%02u" of each byte, with `between` between them.
void AppendTwoDigitParts(std::string& out, const std::uint8_t (&parts)[3], char between) {
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            out += between;
        }
        if (parts[i] < 10) {
            out += '0';
        }
        AppendIntegerText(out, parts[i]);
    }
}

} // namespace

void AppendIntegerText(std::string& out, std::int64_t value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

std::string IntegerText(std::int64_t value) {
    std::string out;
    AppendIntegerText(out, value);
    return out;
}

void AppendDateText(std::string& out, const InfoTimeStamp& t) {
    AppendTwoDigitParts(out, {t.Day, t.Month, t.Year}, '.');
}

std::string DateText(const InfoTimeStamp& t) {
    std::string out;
    AppendDateText(out, t);
    return out;
}

void AppendTimeText(std::string& out, const InfoTimeStamp& t) {
    AppendTwoDigitParts(out, {t.Hour, t.Minute, t.Second}, ':');
}

std::string TimeText(const InfoTimeStamp& t) {
    std::string out;
    AppendTimeText(out, t);
    return out;
}

void AppendFloatText(std::string& out, double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        out += std::signbit(value) ? "-NAN" : "NAN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-INF" : "INF";
        return;
    }
    if (value == 0) {
        out += '0';
        return;
    }

    // Rounded to 15 significant digits, with the exponent of the rounded value, which is what decides
    // between fixed and exponent layout: "[-]d.dddddddddddddde[+-]dd[d]", whatever the C locale says.
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, kSignificantDigits - 1).ptr;
    std::string_view s(buffer, static_cast<std::size_t>(end - buffer));
    const bool negative = s.front() == '-';
    if (negative) {
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    char digitBuffer[kSignificantDigits];
    std::size_t digitCount = 0;
    digitBuffer[digitCount++] = s[0];
    for (char c : s.substr(2, e - 2)) {
        digitBuffer[digitCount++] = c;
    }
    while (digitCount > 1 && digitBuffer[digitCount - 1] == '0') {
        --digitCount;
    }
    const std::string_view digits(digitBuffer, digitCount);
    std::string_view exponentText = s.substr(e + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1); // the sign, always present
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent) {
        exponent = -exponent;
    }

    if (negative) {
        out += '-';
    }
    if (exponent >= kMinFixedExponent && exponent <= kMaxFixedExponent) {
        AppendFixed(out, digits, exponent, decimalSeparator);
    } else {
        AppendExponent(out, digits, exponent, decimalSeparator);
    }
}

std::string FloatText(double value, std::string_view decimalSeparator) {
    std::string out;
    AppendFloatText(out, value, decimalSeparator);
    return out;
}

std::string HundredthsText(std::int16_t value, std::string_view decimalSeparator) {
    return FloatText(value / 100.0, decimalSeparator);
}

std::string HalfHoursText(std::uint32_t value, std::string_view decimalSeparator) {
    return FloatText(value / 2.0, decimalSeparator);
}

} // namespace lexorant
