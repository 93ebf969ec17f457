#pragma once
// What the chart's axes show: the local time of each point along a time axis, and numbers with the
// decimal separator that the grids use.
#include <QLocale>
#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace lexorant {

// Where a point goes on a date-time axis. The controller logs its wall clock, and a date-time axis
// labels a position with the local time of that instant, so a wall-clock reading goes to the instant
// at which the local clock reads the same, with the offset from UTC that holds at that instant:
// a single offset for the whole chart puts every label beyond a change to or from daylight-saving
// time an hour off from the points' own times.
class LocalTimeScale {
public:
    // The identity: for an axis of entry numbers.
    LocalTimeScale() = default;
    // `walls`: the points' wall-clock readings in milliseconds (read as if UTC), ascending. The offsets
    // and their changes are learnt over their span.
    explicit LocalTimeScale(std::span<const double> walls);

    // The instant (milliseconds since the epoch) at which the local clock reads `wall`. A reading the
    // local clock skips (the hour lost when summer time begins) goes to the change itself, one it
    // reads twice (the hour repeated when summer time ends) to the first; so the order is kept.
    double ViewOf(double wall) const;
    // The local clock's reading at the instant: the inverse of ViewOf.
    double WallOf(double view) const;

private:
    struct Change {
        double at;          // the instant of the change
        double offsetAfter; // milliseconds ahead of UTC from then on
    };
    double offsetBefore_ = 0;
    std::vector<Change> changes_; // ascending
};

// A locale that writes numbers with `decimalSeparator` and without grouping, as the grid's number
// texts do; the C locale when no locale writes that separator.
QLocale NumberLocale(const QString& decimalSeparator);

} // namespace lexorant
