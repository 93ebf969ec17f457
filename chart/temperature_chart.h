#pragma once
// The chart of an X-Info block's temperatures: one line per temperature field (broken where an entry
// cannot carry the value), the faults on the x axis, and each line thinned to the view's pixel
// columns whenever the view changes.
#include "chart/chart_axes.h"
#include "chart/chart_points.h"
#include "readout/info_head.h"
#include "readout/record_store.h"

#include <QChart>
#include <QColor>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QAbstractAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace lexorant {

class TemperatureChart : public QChart {
    Q_OBJECT
public:
    // Those of the first `count` X-Info entries of the read-out that are in. `shown`: the fields
    // drawn at first; empty for Setpoint, TI and TR.
    TemperatureChart(const ReadOutData& readOut, std::size_t count, ChartAxis axis,
                     const std::vector<std::string>& shown = {}, QGraphicsItem* parent = nullptr);

    ChartAxis Axis() const { return points_.axis; }
    void SetAxis(ChartAxis axis);
    const ChartPoints& Points() const { return points_; }

    bool FieldShown(const QString& name) const;
    void SetFieldShown(const QString& name, bool shown);

    // The point nearest to the scene position along x, if within `tolerance` pixels; -1 if none.
    long PointNear(const QPointF& scenePos, double tolerance);
    // Entry number, time, the shown values and the message text of a point.
    QString Describe(std::size_t point) const;

    // Thins the shown lines anew for the current view; the view changes call it by themselves.
    void Reduce();

private:
    struct Line {
        const TemperatureField* field;
        QColor color;
        bool shown;
        std::vector<QLineSeries*> segments; // the first one carries the legend entry
    };

    void Build();
    // The value axis spans the shown lines.
    void FitValueRange();
    void AttachNew(QAbstractSeries* series);
    double ViewX(double pointX) const { return scale_.ViewOf(pointX); }
    double PointX(double viewX) const { return scale_.WallOf(viewX); }
    // The line's way up and down in degrees, summed over its points.
    double ReduceLine(Line& line, double from, double to, int columns);
    // Smoothing for the views of the chart, off while the lines are busy.
    void ChooseAntialiasing();
    void PlaceFaults();

    // A copy of the X-Info block and the entries in: the window's read-out may be replaced meanwhile.
    ReadOutData xInfo_;
    std::size_t count_;
    std::vector<std::int16_t> codes_;
    std::vector<InfoTimeStamp> stamps_;
    ChartPoints points_;
    std::vector<Line> lines_;
    std::vector<std::size_t> faultPoints_; // the points of fault entries, in x order
    struct ReducedView {
        double from = 0, to = 0;
        int columns = 0;
        std::vector<bool> shown;
        friend bool operator==(const ReducedView&, const ReducedView&) = default;
    };
    ReducedView reduced_;
    double travel_ = 0; // of the shown lines, in degrees
    QScatterSeries* faults_ = nullptr;
    QAbstractAxis* xAxis_ = nullptr;
    QValueAxis* yAxis_ = nullptr;
    // Time stamps are the controller's wall clock; the axis shows local time, so they are shifted.
    LocalTimeScale scale_;
    bool reducing_ = false;
};

} // namespace lexorant
