#include "cell_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace lexorant {

namespace {

constexpr int kSignificantDigits = 15;
// Decimal exponents (after rounding) that are laid out in fixed notation: 1E-4 up to below 1E15.
constexpr int kMinFixedExponent = -4;
constexpr int kMaxFixedExponent = 14;

// `digits` has no trailing zeros and at least one digit; the first is the one before the point.
std::string FixedLayout(const std::string& digits, int exponent) {
    std::string out;
    if (exponent < 0) {
        out = "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const auto intLength = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intLength) {
        out = digits;
        out.append(intLength - digits.size(), '0');
    } else {
        out = digits.substr(0, intLength);
        out += '.';
        out += digits.substr(intLength);
    }
    return out;
}

std::string ExponentLayout(const std::string& digits, int exponent) {
    std::string out(1, digits[0]);
    if (digits.size() > 1) {
        out += '.';
        out += digits.substr(1);
    }
    out += 'E';
    if (exponent < 0) {
        out += '-';
    }
    out += std::to_string(std::abs(exponent));
    return out;
}

} // namespace

QString IntegerText(std::int64_t value) {
    return QString::number(static_cast<qlonglong>(value));
}

QString DateText(const InfoTimeStamp& t) {
    return QString::asprintf("%02u.%02u.%02u", unsigned{t.Day}, unsigned{t.Month}, unsigned{t.Year});
}

QString TimeText(const InfoTimeStamp& t) {
    return QString::asprintf("%02u:%02u:%02u", unsigned{t.Hour}, unsigned{t.Minute}, unsigned{t.Second});
}

QString FloatText(double value, QChar decimalSeparator) {
    if (std::isnan(value)) {
        return QStringLiteral("NAN").prepend(std::signbit(value) ? QStringLiteral("-") : QString());
    }
    if (std::isinf(value)) {
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    }
    if (value == 0) {
        return QStringLiteral("0");
    }

    // "%.14e" rounds to 15 significant digits and yields the exponent of the rounded value, which is
    // what decides between fixed and exponent layout: "[-]d.dddddddddddddde[+-]dd[d]".
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, value);
    std::string_view s(buffer);
    const bool negative = s.front() == '-';
    if (negative) {
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    std::string digits(1, s[0]);
    digits.append(s.substr(2, e - 2));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string_view exponentText = s.substr(e + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1); // the sign, always present
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent) {
        exponent = -exponent;
    }

    std::string text = negative ? "-" : "";
    text += exponent >= kMinFixedExponent && exponent <= kMaxFixedExponent ? FixedLayout(digits, exponent)
                                                                           : ExponentLayout(digits, exponent);
    QString result = QString::fromLatin1(text);
    result.replace(QLatin1Char('.'), decimalSeparator);
    return result;
}

QString HundredthsText(std::int16_t value, QChar decimalSeparator) {
    return FloatText(value / 100.0, decimalSeparator);
}

QString HalfHoursText(std::uint32_t value, QChar decimalSeparator) {
    return FloatText(value / 2.0, decimalSeparator);
}

} // namespace lexorant
