#include "app/temperature_chart_window.h"

#include "app/message_boxes.h"
#include "app/save_dialog.h"
#include "chart/chart_picture.h"
#include "chart/temperature_chart.h"
#include "file/write_failure.h"

#include <QActionGroup>
#include <QChartView>
#include <QFileDialog>
#include <QMouseEvent>
#include <QRubberBand>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace lexorant {

// Left drag: rubber-band zoom, left click: select the entry, right or middle drag: pan, wheel: zoom
// along the time axis around the pointer.
class TemperatureChartView : public QChartView {
public:
    TemperatureChartView(TemperatureChart* chart, std::function<void(int)> onEntryClicked, QWidget* parent)
        : QChartView(chart, parent), chart_(chart), onEntryClicked_(std::move(onEntryClicked)) {
        setObjectName(QStringLiteral("chartView"));
        setRenderHint(QPainter::Antialiasing);
        setMouseTracking(true);
        setRubberBand(QChartView::NoRubberBand);
    }

protected:
    void wheelEvent(QWheelEvent* event) override {
        const QRectF area = chart_->plotArea();
        const double steps = event->angleDelta().y() / 120.0;
        if (steps == 0 || area.width() <= 0)
            return;
        const double factor = std::pow(1.25, steps);
        const double at = std::clamp(event->position().x(), area.left(), area.right());
        QRectF zoomed = area;
        zoomed.setLeft(at - (at - area.left()) / factor);
        zoomed.setRight(at + (area.right() - at) / factor);
        chart_->zoomIn(zoomed);
        event->accept();
    }

    void mousePressEvent(QMouseEvent* event) override {
        origin_ = event->position().toPoint();
        if (event->button() == Qt::LeftButton) {
            if (!band_)
                band_ = new QRubberBand(QRubberBand::Rectangle, this);
            band_->setGeometry(QRect(origin_, QSize()));
            band_->show();
        } else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
            panning_ = true;
            setCursor(Qt::ClosedHandCursor);
        } else {
            QChartView::mousePressEvent(event);
        }
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint pos = event->position().toPoint();
        if (panning_) {
            const QPoint delta = pos - origin_;
            chart_->scroll(-delta.x(), delta.y());
            origin_ = pos;
        } else if (band_ && band_->isVisible()) {
            band_->setGeometry(QRect(origin_, pos).normalized());
        } else {
            const long point = chart_->PointNear(mapToScene(pos), 8);
            if (point >= 0)
                QToolTip::showText(event->globalPosition().toPoint(),
                                   chart_->Describe(static_cast<std::size_t>(point)), this);
            else
                QToolTip::hideText();
        }
        event->accept();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (panning_) {
            panning_ = false;
            unsetCursor();
        } else if (band_ && band_->isVisible()) {
            band_->hide();
            const QRect rect = band_->geometry();
            if (rect.width() < 4 && rect.height() < 4) {
                const long point = chart_->PointNear(mapToScene(event->position().toPoint()), 8);
                if (point >= 0 && onEntryClicked_)
                    onEntryClicked_(
                        static_cast<int>(chart_->Points().entry[static_cast<std::size_t>(point)]));
            } else {
                chart_->zoomIn(QRectF(mapToScene(rect).boundingRect()).intersected(chart_->plotArea()));
            }
        }
        event->accept();
    }

private:
    TemperatureChart* chart_;
    std::function<void(int)> onEntryClicked_;
    QRubberBand* band_ = nullptr;
    QPoint origin_;
    bool panning_ = false;
};

TemperatureChartWindow::TemperatureChartWindow(const ReadOutData& readOut, std::size_t count,
                                               std::function<void(int)> onEntryClicked, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmTemperatures"));
    setWindowTitle(QStringLiteral("Temperatures"));
    setAttribute(Qt::WA_DeleteOnClose);
    chart_ = new TemperatureChart(readOut, count, ChartAxis::ByTime);
    // Without a single valid time stamp there is nothing to show by time.
    const bool anyDated = !chart_->Points().x.empty();
    if (!anyDated)
        chart_->SetAxis(ChartAxis::ByEntry);
    view_ = new TemperatureChartView(chart_, std::move(onEntryClicked), this);

    auto* tools = new QToolBar(this);
    auto* axisGroup = new QActionGroup(this);
    QAction* byTime = tools->addAction(QStringLiteral("by time"));
    QAction* byEntry = tools->addAction(QStringLiteral("by entry"));
    byTime->setObjectName(QStringLiteral("actByTime"));
    byEntry->setObjectName(QStringLiteral("actByEntry"));
    for (QAction* a : {byTime, byEntry}) {
        a->setCheckable(true);
        axisGroup->addAction(a);
    }
    (chart_->Axis() == ChartAxis::ByTime ? byTime : byEntry)->setChecked(true);
    byTime->setEnabled(anyDated);
    const std::size_t undated = chart_->Points().undated;
    if (undated > 0)
        byTime->setToolTip(
            QStringLiteral("%1 entries without a valid date are shown by entry only").arg(undated));
    connect(byTime, &QAction::triggered, this, [this] { chart_->SetAxis(ChartAxis::ByTime); });
    connect(byEntry, &QAction::triggered, this, [this] { chart_->SetAxis(ChartAxis::ByEntry); });
    tools->addSeparator();
    QAction* reset = tools->addAction(QStringLiteral("Reset zoom"), this, [this] { chart_->zoomReset(); });
    reset->setObjectName(QStringLiteral("actResetZoom"));
    QAction* save = tools->addAction(QStringLiteral("Save as..."), this, &TemperatureChartWindow::SaveAs);
    save->setObjectName(QStringLiteral("actSaveAs"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(view_, 1);
    resize(900, 560);
}

void TemperatureChartWindow::SaveAs() {
    QFileDialog dialog(this, QStringLiteral("Save chart"));
    SetUpSaveDialog(dialog, QStringLiteral("ChartSaveDialog"),
                    {{QStringLiteral("PNG image (*.png)"), QStringLiteral("png")},
                     {QStringLiteral("SVG image (*.svg)"), QStringLiteral("svg")}});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString name = dialog.selectedFiles().front();
    const QString error = SaveWidgetPicture(view_, name);
    if (!error.isEmpty())
        ShowErrorBox(this, QString::fromStdString(WriteFailureText(name.toStdString(), error.toStdString())));
}

} // namespace lexorant
