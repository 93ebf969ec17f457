#pragma once
// The number texts that both grids use, as UTF-8; the decimal separator is the caller's (the user's).
#include "readout/info_head.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lexorant {

// Plain decimal, "-" when negative, no grouping.
std::string IntegerText(std::int64_t value);
void AppendIntegerText(std::string& out, std::int64_t value);

// Day.Month.Year, each byte as stored with at least two digits ("%02u").
std::string DateText(const InfoTimeStamp& t);
void AppendDateText(std::string& out, const InfoTimeStamp& t);

// Hour:Minute:Second, each byte as stored with at least two digits.
std::string TimeText(const InfoTimeStamp& t);
void AppendTimeText(std::string& out, const InfoTimeStamp& t);

// General notation with 15 significant digits: fixed for 0 and for magnitudes from 0.0001 to below
// 1E15 after rounding, exponent form ("5E-5", "1.5E20") otherwise; no trailing zeros; "NAN", "INF"
// with a "-" when the sign is negative. Negative zero shows "0": a technician reads "-0" as a fault.
std::string FloatText(double value, std::string_view decimalSeparator);
void AppendFloatText(std::string& out, double value, std::string_view decimalSeparator);

// A signed 16-bit value in hundredths (of a degree): 2345 -> "23.45".
std::string HundredthsText(std::int16_t value, std::string_view decimalSeparator);

// An unsigned 32-bit count of half hours: 7 -> "3.5".
std::string HalfHoursText(std::uint32_t value, std::string_view decimalSeparator);

} // namespace lexorant
