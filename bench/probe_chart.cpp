// Figures of the temperature chart of a large X-Info block, for bench/run:
//   probe_chart FILE    the chart window opened and painted; then zoom steps in and out, each repainted
// Results are "name=value" lines on standard output (times in ms, memory in MB).
#include "app/temperature_chart_window.h"
#include "bench/probe_common.h"
#include "chart/temperature_chart.h"
#include "file/read_out_file.h"

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QEvent>

#include <algorithm>
#include <iostream>
#include <vector>

using namespace lexorant;
using namespace lexorant::bench;

namespace {

class PaintCount : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

template <typename Done> bool RunUntil(Done done, int limitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: probe_chart FILE\n";
        return 2;
    }
    QApplication app(argc, argv);
    const auto readOut = LoadReadOut(argv[1]);
    if (!readOut) {
        std::cerr << "cannot open " << argv[1] << "\n";
        return 1;
    }
    RunUntil([] { return false; }, 200);
    const long idleKb = ResidentKilobytes();

    const long long start = MonotonicNanos();
    auto* window = new TemperatureChartWindow(*readOut, readOut->store.XInfo.EntryCount, {}, nullptr);
    auto* view = window->findChild<QChartView*>(QStringLiteral("chartView"));
    PaintCount painted;
    view->viewport()->installEventFilter(&painted);
    window->show();
    if (!RunUntil([&] { return painted.paints > 0; }, 20000))
        return 1;
    Report("chart_open_ms", MillisSince(start));
    RunUntil([] { return false; }, 200);
    Report("chart_rss_delta_mb", static_cast<double>(ResidentKilobytes() - idleKb) / 1024.0);

    // Wheel steps (a quarter each) in towards the middle and back out, each painted before the next.
    TemperatureChart* chart = window->Chart();
    std::vector<double> steps;
    for (int i = 0; i < 24; ++i) {
        const long long stepStart = MonotonicNanos();
        chart->zoom(i < 12 ? 1.25 : 0.8);
        view->viewport()->repaint();
        steps.push_back(MillisSince(stepStart));
    }
    std::sort(steps.begin(), steps.end());
    Report("chart_zoom_median_ms", steps[steps.size() / 2]);
    Report("chart_zoom_max_ms", steps.back());
    if (const char* grab = std::getenv("BENCH_GRAB"))
        view->grab().save(QString::fromLocal8Bit(grab) + QStringLiteral("-chart.png"));
    delete window;
    return 0;
}
