#pragma once
// The number texts that both grids use.
#include "info_head.h"

#include <QChar>
#include <QString>
#include <cstdint>

namespace lexorant {

// Plain decimal, "-" when negative, no grouping.
QString IntegerText(std::int64_t value);

// Day.Month.Year, each byte as stored with at least two digits ("%02u").
QString DateText(const InfoTimeStamp& t);

// Hour:Minute:Second, each byte as stored with at least two digits.
QString TimeText(const InfoTimeStamp& t);

// General notation with 15 significant digits: fixed for 0 and for magnitudes from 0.0001 to below
// 1E15 after rounding, exponent form ("5E-5", "1.5E20") otherwise; no trailing zeros; "NAN", "INF"
// with a "-" when the sign is negative. Negative zero shows "0": a technician reads "-0" as a fault.
QString FloatText(double value, QChar decimalSeparator);

// A signed 16-bit value in hundredths (of a degree): 2345 -> "23.45".
QString HundredthsText(std::int16_t value, QChar decimalSeparator);

// An unsigned 32-bit count of half hours: 7 -> "3.5".
QString HalfHoursText(std::uint32_t value, QChar decimalSeparator);

} // namespace lexorant
