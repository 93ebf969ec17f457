#pragma once
// Thins a series to what a view can show: per pixel column the smallest and the largest value, the
// columns in x order, so that a spike of one entry stays visible however far the view is zoomed out.
#include <cstddef>
#include <vector>

namespace lexorant {

struct XYPoint {
    double x;
    double y; // NaN: the line breaks here
};

// `x` ascending, `y` of the same size (NaN for a value the entry cannot carry). The view shows `from`
// to `to` over `columns` pixel columns. The result keeps the nearest point beyond each edge, so that
// the line runs to the border; a column whose entries all lack the value becomes a break. Columns with
// at most two points keep their values in x order; a column of more starts at the extreme nearer the
// line's last point.
std::vector<XYPoint> ReduceMinMax(const std::vector<double>& x, const std::vector<double>& y, double from,
                                  double to, int columns);

} // namespace lexorant
