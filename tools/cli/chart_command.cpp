// Renders the temperature chart of a file's X-Info block as a picture, without a display.
#include "chart/chart_picture.h"
#include "chart/temperature_chart.h"
#include "chart/temperature_fields.h"
#include "file/write_failure.h"
#include "readout/record_store.h"
#include "tools/cli/commands.h"
#include "tools/cli/headless_qt.h"
#include "tools/cli/option_parser.h"

#include <QChartView>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace lexorant::cli {

namespace {

struct ChartOptions {
    std::string file;
    std::string output;
    int width = 1200;
    int height = 700;
    std::vector<std::string> series;
    bool byEntry = false;
    std::optional<ReadOutData> readOut;
};

bool ParseSize(const std::string& text, int& width, int& height) {
    char x = 0;
    char rest = 0;
    // Beyond this a picture is no longer something to look at, only memory to run out of.
    constexpr int kLargest = 10000;
    return std::sscanf(text.c_str(), "%d%c%d%c", &width, &x, &height, &rest) == 3 && (x == 'x' || x == 'X') &&
           width >= 100 && height >= 100 && width <= kLargest && height <= kLargest;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!item.empty())
            items.push_back(item);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return items;
}

std::optional<ChartOptions> ParseChartOptions(const Arguments& args) {
    ChartOptions options;
    OptionParser parser("chart");
    parser.Value("--output", options.output);
    parser.Value("--size", [&](const std::string& v) {
        return ParseSize(v, options.width, options.height) ||
               parser.Fail("--size takes WIDTHxHEIGHT (100 to 10000), not '" + v + "'");
    });
    parser.Value("--series", [&](const std::string& v) {
        options.series = SplitList(v);
        return true;
    });
    parser.Flag("--by-entry", options.byEntry);
    parser.Argument(options.file);
    parser.Required([&options] { return !options.file.empty() && !options.output.empty(); },
                    "FILE and --output NAME.png|NAME.svg are needed");
    parser.Check([&parser, &options] {
        const auto dot = options.output.rfind('.');
        const std::string suffix = dot == std::string::npos ? "" : options.output.substr(dot);
        return suffix == ".png" || suffix == ".svg" || suffix == ".PNG" || suffix == ".SVG" ||
               parser.Fail("--output must end in .png or .svg, not '" + options.output + "'");
    });
    parser.LoadsReadOut(options.file, options.readOut);
    if (!parser.Parse(args))
        return std::nullopt;
    return options;
}

} // namespace

int Chart(const Arguments& args) {
    const auto options = ParseChartOptions(args);
    if (!options)
        return 1;
    const ReadOutData& readOut = *options->readOut;
    const RecordStore& store = readOut.store;
    if (store.XInfo.EntryCount == 0) {
        std::fprintf(stderr, "lexorant-cli chart: %s has no X-Info entries\n", options->file.c_str());
        return 1;
    }
    const int xType = store.XInfo.InfoType;
    for (const std::string& name : options->series) {
        if (FindTemperatureField(xType, name))
            continue;
        std::string valid;
        for (const TemperatureField& f : TemperatureFields(xType))
            valid += (valid.empty() ? "" : ",") + std::string(f.name);
        std::fprintf(stderr, "lexorant-cli chart: no series '%s' for X-Info type %d; valid: %s\n",
                     name.c_str(), xType, valid.c_str());
        return 1;
    }

    HeadlessApplication app;

    auto* chart =
        new TemperatureChart(readOut, store.XInfo.EntryCount,
                             options->byEntry ? ChartAxis::ByEntry : ChartAxis::ByTime, options->series);
    if (!options->byEntry && chart->Points().x.empty()) {
        std::fputs("lexorant-cli chart: no entry has a valid date; drawn by entry\n", stderr);
        chart->SetAxis(ChartAxis::ByEntry);
    } else if (chart->Axis() == ChartAxis::ByTime && chart->Points().undated > 0) {
        std::fprintf(
            stderr,
            "lexorant-cli chart: %zu entries without a valid date are left out; --by-entry shows them\n",
            chart->Points().undated);
    }
    QChartView view(chart);
    view.setRenderHint(QPainter::Antialiasing);
    // Never shown: a shown view would paint once for its backing store before the picture's own paint.
    view.resize(options->width, options->height);
    QApplication::processEvents();
    chart->Reduce();
    const QString error = SaveWidgetPicture(&view, QString::fromStdString(options->output));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "lexorant-cli chart: %s\n",
                     WriteFailureText(options->output, error.toLocal8Bit().toStdString()).c_str());
        return 1;
    }
    std::puts(options->output.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace lexorant::cli
