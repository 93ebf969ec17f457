#include "chart/min_max_reduction.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lexorant {

namespace {

constexpr double kBreak = std::numeric_limits<double>::quiet_NaN();

class Collector {
public:
    explicit Collector(std::vector<XYPoint>& out) : out_(out) {}

    void Add(double x, double y) {
        if (std::isnan(y)) {
            anyGap_ = true;
            if (count_ == 0)
                gapX_ = x;
            return;
        }
        if (count_ == 0 || y < min_.y)
            min_ = {x, y};
        if (count_ == 0 || y > max_.y)
            max_ = {x, y};
        ++count_;
    }

    void Flush() {
        if (count_ == 0) {
            if (anyGap_ && !out_.empty() && !std::isnan(out_.back().y))
                out_.push_back({gapX_, kBreak});
        } else if (min_.x == max_.x && min_.y == max_.y) {
            out_.push_back(min_);
        } else if (MinFirst()) {
            out_.push_back(min_);
            out_.push_back(max_);
        } else {
            out_.push_back(max_);
            out_.push_back(min_);
        }
        count_ = 0;
        anyGap_ = false;
    }

private:
    // Two points keep their order. A denser column is one pixel wide, so the order of its extremes
    // cannot be seen: it starts at the one nearer the line's last point, and the line crosses the
    // column's height once instead of up to three times, which is what painting costs.
    bool MinFirst() const {
        if (count_ > 2 && !out_.empty() && !std::isnan(out_.back().y))
            return std::abs(out_.back().y - min_.y) <= std::abs(out_.back().y - max_.y);
        return min_.x <= max_.x;
    }

    std::vector<XYPoint>& out_;
    XYPoint min_{}, max_{};
    std::size_t count_ = 0;
    bool anyGap_ = false;
    double gapX_ = 0;
};

} // namespace

std::vector<XYPoint> ReduceMinMax(const std::vector<double>& x, const std::vector<double>& y, double from,
                                  double to, int columns) {
    std::vector<XYPoint> out;
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0 || columns < 1 || !(to > from))
        return out;
    // One point beyond each edge, so that the line leaves the view instead of stopping short.
    auto first = static_cast<std::size_t>(std::lower_bound(x.begin(), x.begin() + static_cast<long>(n), from) - x.begin());
    auto last = static_cast<std::size_t>(std::upper_bound(x.begin(), x.begin() + static_cast<long>(n), to) - x.begin());
    if (first > 0)
        --first;
    if (last < n)
        ++last;
    out.reserve(std::min<std::size_t>(last - first, 2 * static_cast<std::size_t>(columns) + 8));

    const double scale = columns / (to - from);
    Collector column(out);
    long current = std::numeric_limits<long>::min();
    for (std::size_t i = first; i < last; ++i) {
        // Points beyond the edges get columns of their own.
        const double c = std::floor((x[i] - from) * scale);
        const long col = c < 0 ? -1 : c >= columns ? columns : static_cast<long>(c);
        if (col != current) {
            column.Flush();
            current = col;
        }
        column.Add(x[i], y[i]);
    }
    column.Flush();
    if (!out.empty() && std::isnan(out.back().y))
        out.pop_back(); // a break with nothing after it
    return out;
}

} // namespace lexorant
