#include "chart/temperature_chart.h"

#include "catalogue/message_kind.h"
#include "chart/min_max_reduction.h"
#include "platform/decimal_separator.h"
#include "records/cell_text.h"
#include "records/entry_layout.h"
#include "records/entry_message.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace lexorant {

namespace {

// Distinct colours, the first three for the lines shown at first.
QColor LineColor(std::size_t i) {
    static const QColor kColors[] = {QColor(0x1f77b4), QColor(0xd62728), QColor(0x2ca02c), QColor(0xff7f0e),
                                     QColor(0x9467bd), QColor(0x8c564b), QColor(0xe377c2), QColor(0x7f7f7f),
                                     QColor(0xbcbd22), QColor(0x17becf), QColor(0x393b79), QColor(0xad494a),
                                     QColor(0x637939), QColor(0x8c6d31), QColor(0x843c39), QColor(0x7b4173),
                                     QColor(0x3182bd)};
    return kColors[i % (sizeof kColors / sizeof kColors[0])];
}

constexpr int kFaultMarkSize = 9; // pixels
// The shown lines together move by more than this share of the plot's height per pixel column.
constexpr double kBusyTravelPerColumn = 0.25;

// The shown-at-first lines first, then the rest in grid order.
std::vector<const TemperatureField*> OrderedFields(int xInfoType) {
    std::vector<const TemperatureField*> fields;
    for (const TemperatureField& f : TemperatureFields(xInfoType))
        if (f.shownAtFirst)
            fields.push_back(&f);
    for (const TemperatureField& f : TemperatureFields(xInfoType))
        if (!f.shownAtFirst)
            fields.push_back(&f);
    return fields;
}

} // namespace

TemperatureChart::TemperatureChart(const ReadOutData& readOut, std::size_t count, ChartAxis axis,
                                   const std::vector<std::string>& shown, QGraphicsItem* parent)
    : QChart(parent), count_(std::min<std::size_t>(count, readOut.store.XInfo.EntryCount)) {
    const RecordStore& store = readOut.store;
    xInfo_.in = readOut.in;
    RecordStore& xInfo = xInfo_.store;
    xInfo.XInfo = store.XInfo;
    xInfo.XInfoSlots.assign(store.XInfoSlots.begin(),
                            store.XInfoSlots.begin() + static_cast<long>(count_ * kXInfoSlotSize));
    xInfo.XInfo.EntryCount = static_cast<std::uint16_t>(count_);
    codes_.reserve(count_);
    stamps_.reserve(count_);
    for (std::size_t i = 0; i < count_; ++i) {
        codes_.push_back(EntryMessageCode(xInfo.XInfoSlot(i)));
        stamps_.push_back(EntryTimeStamp(xInfo.XInfoSlot(i)));
    }
    const auto fields = OrderedFields(store.XInfo.InfoType);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const bool on = shown.empty() ? fields[i]->shownAtFirst
                                      : std::find(shown.begin(), shown.end(), fields[i]->name) != shown.end();
        lines_.push_back({fields[i], LineColor(i), on, {}});
    }
    setTitle(QStringLiteral("Temperatures (°C)"));
    // The axes' numbers with the user's decimal separator, as in the grid and the hover text.
    setLocalizeNumbers(true);
    setLocale(NumberLocale(QString::fromStdString(UserDecimalSeparator())));
    legend()->setAlignment(Qt::AlignRight);
    points_.axis = axis;
    Build();
    connect(this, &QChart::plotAreaChanged, this, [this] { Reduce(); });
}

void TemperatureChart::SetAxis(ChartAxis axis) {
    if (axis == points_.axis)
        return;
    points_.axis = axis;
    Build();
}

void TemperatureChart::AttachNew(QAbstractSeries* series) {
    addSeries(series);
    series->attachAxis(xAxis_);
    series->attachAxis(yAxis_);
}

void TemperatureChart::Build() {
    reducing_ = true;
    removeAllSeries();
    for (QAbstractAxis* a : axes()) {
        removeAxis(a);
        delete a;
    }
    faults_ = nullptr;
    std::vector<const TemperatureField*> fields;
    for (Line& line : lines_) {
        fields.push_back(line.field);
        line.segments.clear();
    }
    points_ = BuildChartPoints(xInfo_, count_, points_.axis, fields);
    faultPoints_.clear();
    for (std::size_t i = 0; i < points_.x.size(); ++i)
        if (IsFaultMessage(codes_[points_.entry[i]]))
            faultPoints_.push_back(i);
    reduced_ = {};

    yAxis_ = new QValueAxis(this);
    yAxis_->setTitleText(QStringLiteral("°C"));
    FitValueRange();
    const double first = points_.x.empty() ? 0 : points_.x.front();
    const double last = points_.x.empty() ? 1 : points_.x.back();
    if (points_.axis == ChartAxis::ByTime) {
        // The controller's clock has no time zone; shown as local time, each point is shifted by the
        // offset that holds then.
        scale_ = LocalTimeScale(points_.x);
        auto* axis = new QDateTimeAxis(this);
        axis->setFormat(QStringLiteral("dd.MM.yy hh:mm"));
        axis->setTitleText(QStringLiteral("Time"));
        const double margin = std::max(60000.0, (last - first) / 100);
        axis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ViewX(first - margin))),
                       QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ViewX(last + margin))));
        xAxis_ = axis;
    } else {
        scale_ = {};
        auto* axis = new QValueAxis(this);
        axis->setTitleText(QStringLiteral("Entry"));
        axis->setLabelFormat(QStringLiteral("%d"));
        axis->setRange(first - 0.5, last + 0.5);
        xAxis_ = axis;
    }
    addAxis(xAxis_, Qt::AlignBottom);
    addAxis(yAxis_, Qt::AlignLeft);

    for (Line& line : lines_) {
        auto* series = new QLineSeries(this);
        // Thin lines: a wide pen has every one of the view's thousands of corners joined.
        QPen pen = series->pen();
        pen.setWidthF(1);
        series->setPen(pen);
        series->setName(
            QString::fromLatin1(line.field->name.data(), static_cast<qsizetype>(line.field->name.size())));
        series->setColor(line.color);
        AttachNew(series);
        line.segments.push_back(series);
    }
    faults_ = new QScatterSeries(this);
    faults_->setName(QStringLiteral("Faults"));
    faults_->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    faults_->setMarkerSize(kFaultMarkSize);
    faults_->setColor(Qt::red);
    faults_->setBorderColor(Qt::darkRed);
    AttachNew(faults_);

    // A click on a legend entry switches its line on or off; switched-off lines stay in the legend, dimmed.
    for (QLegendMarker* marker : legend()->markers()) {
        if (marker->series() == faults_)
            continue;
        connect(marker, &QLegendMarker::clicked, this, [this, marker] {
            const QString name = marker->label();
            SetFieldShown(name, !FieldShown(name));
        });
    }
    auto onRange = [this] { Reduce(); };
    if (auto* timeAxis = qobject_cast<QDateTimeAxis*>(xAxis_))
        connect(timeAxis, &QDateTimeAxis::rangeChanged, this, onRange);
    else
        connect(static_cast<QValueAxis*>(xAxis_), &QValueAxis::rangeChanged, this, onRange);
    // The lines follow the time axis only; the fault marks sit on the value axis's lower end.
    connect(yAxis_, &QValueAxis::rangeChanged, this, [this] {
        PlaceFaults();
        ChooseAntialiasing();
    });
    reducing_ = false;
    Reduce();
}

bool TemperatureChart::FieldShown(const QString& name) const {
    for (const Line& line : lines_)
        if (QLatin1String(line.field->name.data(), static_cast<qsizetype>(line.field->name.size())) == name)
            return line.shown;
    return false;
}

void TemperatureChart::SetFieldShown(const QString& name, bool shown) {
    for (Line& line : lines_)
        if (QLatin1String(line.field->name.data(), static_cast<qsizetype>(line.field->name.size())) == name)
            line.shown = shown;
    // A zoomed view stays where the technician put it.
    if (!isZoomed())
        FitValueRange();
    Reduce();
}

void TemperatureChart::FitValueRange() {
    double low = 0, high = 1;
    bool any = false;
    for (std::size_t f = 0; f < lines_.size(); ++f) {
        if (!lines_[f].shown)
            continue;
        for (double y : points_.y[f]) {
            if (std::isnan(y))
                continue;
            low = any ? std::min(low, y) : y;
            high = any ? std::max(high, y) : y;
            any = true;
        }
    }
    const bool wasReducing = reducing_;
    reducing_ = true;
    yAxis_->setRange(low - 1, high + 1);
    yAxis_->applyNiceNumbers();
    reducing_ = wasReducing;
}

void TemperatureChart::Reduce() {
    if (reducing_ || !xAxis_)
        return;
    reducing_ = true;
    double from = 0, to = 1;
    if (auto* timeAxis = qobject_cast<QDateTimeAxis*>(xAxis_)) {
        from = PointX(static_cast<double>(timeAxis->min().toMSecsSinceEpoch()));
        to = PointX(static_cast<double>(timeAxis->max().toMSecsSinceEpoch()));
    } else {
        from = static_cast<QValueAxis*>(xAxis_)->min();
        to = static_cast<QValueAxis*>(xAxis_)->max();
    }
    // Rounded up: a pixel column with two reduced columns in it costs little, one without any is a gap.
    const int columns = std::max(1, static_cast<int>(std::ceil(plotArea().width())));
    std::vector<bool> shown;
    for (const Line& line : lines_)
        shown.push_back(line.shown);
    // Layout passes and value-axis changes often leave the view along x as it was.
    const ReducedView view{from, to, columns, shown};
    if (!(view == reduced_)) {
        reduced_ = view;
        travel_ = 0;
        for (Line& line : lines_)
            travel_ += ReduceLine(line, from, to, columns);
        PlaceFaults();
    }
    ChooseAntialiasing();
    reducing_ = false;
}

double TemperatureChart::ReduceLine(Line& line, double from, double to, int columns) {
    const auto f = static_cast<std::size_t>(&line - lines_.data());
    std::vector<QList<QPointF>> runs(1);
    double travel = 0;
    if (line.shown) {
        // Each point at the middle of its column, so that unsmoothed strokes fill every pixel column;
        // the points beyond the edges stay where they are.
        const double scale = columns / (to - from);
        const auto centred = [&](double x) {
            const double column = std::floor((x - from) * scale);
            return column < 0 || column >= columns ? x : from + (column + 0.5) / scale;
        };
        for (const XYPoint& p : ReduceMinMax(points_.x, points_.y[f], from, to, columns)) {
            if (std::isnan(p.y)) {
                if (!runs.back().isEmpty())
                    runs.emplace_back();
                continue;
            }
            if (!runs.back().isEmpty())
                travel += std::abs(p.y - runs.back().back().y());
            runs.back().append(QPointF(ViewX(centred(p.x)), p.y));
        }
    }
    // Each run between breaks is a line of its own; only the first shows in the legend.
    while (line.segments.size() < runs.size()) {
        auto* segment = new QLineSeries(this);
        QPen pen = line.segments.front()->pen();
        pen.setColor(line.color);
        segment->setPen(pen);
        AttachNew(segment);
        for (QLegendMarker* marker : legend()->markers(segment))
            marker->setVisible(false);
        line.segments.push_back(segment);
    }
    for (std::size_t i = 0; i < line.segments.size(); ++i) {
        QLineSeries* segment = line.segments[i];
        const QList<QPointF> run = i < runs.size() ? runs[i] : QList<QPointF>();
        // A lone value between two breaks has no line to draw: its point shows it.
        segment->setPointsVisible(run.size() == 1);
        segment->replace(run);
    }
    QPen pen = line.segments.front()->pen();
    pen.setColor(line.shown ? line.color : QColor(Qt::lightGray));
    line.segments.front()->setPen(pen);
    for (QLegendMarker* marker : legend()->markers(line.segments.front()))
        marker->setLabelBrush(line.shown ? QBrush(Qt::black) : QBrush(Qt::gray));
    return travel;
}

void TemperatureChart::ChooseAntialiasing() {
    // Lines that cross the height of the plot again and again are a solid band: smoothing their edges
    // shows nothing and makes painting them more than twice as dear. Calmer lines keep smooth slopes.
    const double span = yAxis_->max() - yAxis_->min();
    const bool busy = span > 0 && travel_ > kBusyTravelPerColumn * span * reduced_.columns;
    if (QGraphicsScene* s = scene())
        for (QGraphicsView* view : s->views())
            view->setRenderHint(QPainter::Antialiasing, !busy);
}

void TemperatureChart::PlaceFaults() {
    // The marks sit on the x axis. One is kFaultMarkSize pixels wide, so a mark at most every
    // half of that covers the place of every fault; more would only cost painting.
    const auto& [from, to, columns, shown] = reduced_;
    QList<QPointF> marks;
    if (to > from) {
        const double y = yAxis_->min();
        const double scale = columns / (to - from);
        const auto first = std::lower_bound(faultPoints_.begin(), faultPoints_.end(), from,
                                            [this](std::size_t i, double x) { return points_.x[i] < x; });
        long nextColumn = 0;
        for (auto it = first; it != faultPoints_.end() && points_.x[*it] <= to; ++it) {
            const auto column = static_cast<long>(std::floor((points_.x[*it] - from) * scale));
            if (column < nextColumn)
                continue;
            nextColumn = column + kFaultMarkSize / 2;
            marks.append(QPointF(ViewX(points_.x[*it]), y));
        }
    }
    faults_->replace(marks);
}

long TemperatureChart::PointNear(const QPointF& scenePos, double tolerance) {
    if (points_.x.empty() ||
        !plotArea().adjusted(-tolerance, -tolerance, tolerance, tolerance).contains(scenePos))
        return -1;
    auto* series = lines_.empty() ? nullptr : lines_.front().segments.front();
    const double at = PointX(mapToValue(scenePos, series).x());
    const std::size_t nearest = points_.Nearest(at);
    const double px = mapToPosition(QPointF(ViewX(points_.x[nearest]), 0), series).x();
    return std::abs(px - scenePos.x()) <= tolerance ? static_cast<long>(nearest) : -1;
}

QString TemperatureChart::Describe(std::size_t point) const {
    const std::string separator = UserDecimalSeparator();
    const std::uint32_t entry = points_.entry[point];
    const InfoTimeStamp& t = stamps_[entry];
    QString text = QStringLiteral("Entry %1, %2 %3")
                       .arg(entry + 1)
                       .arg(QString::fromStdString(DateText(t)), QString::fromStdString(TimeText(t)));
    for (std::size_t f = 0; f < lines_.size(); ++f) {
        if (!lines_[f].shown)
            continue;
        const double y = points_.y[f][point];
        text += QLatin1Char('\n') +
                QLatin1String(lines_[f].field->name.data(),
                              static_cast<qsizetype>(lines_[f].field->name.size())) +
                QStringLiteral(": ") +
                (std::isnan(y) ? QStringLiteral("???")
                               : QString::fromStdString(HundredthsText(
                                     static_cast<std::int16_t>(std::lround(y * 100)), separator)));
    }
    const QString message = QString::fromStdString(
        MessageTextOfEntry(xInfo_, {InfoBlock::XInfo, static_cast<std::uint16_t>(entry)}, separator));
    text +=
        QStringLiteral("\nMessage %1: %2").arg(QString::fromStdString(IntegerText(codes_[entry])), message);
    if (IsFaultMessage(codes_[entry]))
        text += QStringLiteral(" (fault)");
    return text;
}

} // namespace lexorant
