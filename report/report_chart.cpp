#include "report/report_chart.h"

#include "chart/temperature_chart.h"

#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>

namespace lexorant {

namespace {
constexpr double kScale = 1.4;
}

ReportChart TemperatureReportChart(const ReadOutData& readOut) {
    return [&readOut](QPainter& painter, const QRectF& area) {
        QGraphicsScene scene;
        auto* chart = new TemperatureChart(readOut, readOut.store.XInfo.EntryCount, ChartAxis::ByTime);
        if (chart->Points().x.empty())
            chart->SetAxis(ChartAxis::ByEntry);
        // The legend names the lines drawn; the window's dimmed entries of the others would crowd it.
        for (QLegendMarker* marker : chart->legend()->markers())
            if (marker->type() == QLegendMarker::LegendMarkerTypeXY &&
                marker->label() != QStringLiteral("Faults") && !chart->FieldShown(marker->label()))
                marker->setVisible(false);
        scene.addItem(chart);
        // Laid out larger than the page area and drawn scaled down: the time axis's labels fit whole.
        const QRectF source(QPointF(0, 0), area.size() * kScale);
        chart->setGeometry(source);
        // Laid out now rather than on the next event round; the new plot area thins the lines.
        chart->layout()->activate();
        chart->Reduce();
        scene.render(&painter, area, source);
    };
}

} // namespace lexorant
