#include "chart/chart_axes.h"

#include <QDateTime>

#include <algorithm>

namespace lexorant {

namespace {

// No local clock is further than this from UTC.
constexpr double kWidestOffset = 15 * 3600 * 1000.0;
// Offsets are looked up at most about once per this stretch of the points' times: a look-up can cost
// tens of microseconds, and no clock changes its offset twice within it.
constexpr double kLookUpStep = 24 * 3600 * 1000.0;

double OffsetAt(double instant) {
    return 1000.0 * QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(instant)).offsetFromUtc();
}

} // namespace

LocalTimeScale::LocalTimeScale(std::span<const double> walls) {
    if (walls.empty())
        return;
    // `known` is an instant with offset `offset`, at or before the instant of every point still to come;
    // every change up to it is in changes_.
    double known = walls.front() - kWidestOffset;
    double offset = OffsetAt(known);
    offsetBefore_ = offset;
    for (const double& wall : walls) {
        for (double at = wall - offset; at > known; at = wall - offset) {
            // A change in between is found at the next look-up, or at the last point's.
            if (at - known < kLookUpStep && &wall != &walls.back())
                break;
            if (OffsetAt(at) == offset) {
                known = at;
                break;
            }
            // The offset changes between `known` and `at`: at the first millisecond with another one.
            auto low = static_cast<qint64>(known), high = static_cast<qint64>(at);
            while (high - low > 1) {
                const qint64 middle = low + (high - low) / 2;
                (OffsetAt(static_cast<double>(middle)) == offset ? low : high) = middle;
            }
            known = static_cast<double>(high);
            offset = OffsetAt(known);
            changes_.push_back({known, offset});
        }
    }
}

double LocalTimeScale::ViewOf(double wall) const {
    if (changes_.empty())
        return wall - offsetBefore_;
    // The first stretch between changes whose local readings do not all lie before `wall`'s.
    const auto after =
        std::upper_bound(changes_.begin(), changes_.end(), wall, [&](double w, const Change& c) {
            const double before = &c == &changes_.front() ? offsetBefore_ : (&c - 1)->offsetAfter;
            return w < c.at + before;
        });
    const double offset = after == changes_.begin() ? offsetBefore_ : (after - 1)->offsetAfter;
    if (after == changes_.begin())
        return wall - offset;
    // Before this stretch's first reading: skipped by the clock.
    return std::max(wall - offset, (after - 1)->at);
}

double LocalTimeScale::WallOf(double view) const {
    const auto after = std::upper_bound(changes_.begin(), changes_.end(), view,
                                        [](double v, const Change& c) { return v < c.at; });
    return view + (after == changes_.begin() ? offsetBefore_ : (after - 1)->offsetAfter);
}

QLocale NumberLocale(const QString& decimalSeparator) {
    const QLocale c = QLocale::c();
    if (c.decimalPoint() == decimalSeparator)
        return c;
    for (QLocale locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        if (locale.decimalPoint() == decimalSeparator && locale.zeroDigit() == QLatin1String("0") &&
            locale.negativeSign() == QLatin1String("-")) {
            locale.setNumberOptions(QLocale::OmitGroupSeparator);
            return locale;
        }
    }
    return c;
}

} // namespace lexorant
