#pragma once
// The window of the temperature chart: the chart with wheel and rubber-band zoom, panning by
// dragging with the right or middle button, tool tips, and the by-time / by-entry switch.
#include "chart/chart_points.h"
#include "readout/read_out_data.h"

#include <QWidget>

#include <functional>

class QAction;

namespace lexorant {

class TemperatureChart;
class TemperatureChartView;

class TemperatureChartWindow : public QWidget {
    Q_OBJECT
public:
    // `onEntryClicked` gets the 0-based entry of a clicked point. Those of the first `count` X-Info
    // entries of the read-out that are in.
    TemperatureChartWindow(const ReadOutData& readOut, std::size_t count,
                           std::function<void(int)> onEntryClicked, QWidget* parent);

    TemperatureChart* Chart() const { return chart_; }
    void SaveAs();

private:
    TemperatureChart* chart_;
    TemperatureChartView* view_;
};

} // namespace lexorant
