#include "app/temperature_chart_menu.h"

#include "app/analysis_menu.h"
#include "app/hint_router.h"
#include "app/temperature_chart_window.h"
#include "app/tfrm_main.h"

#include <QAction>
#include <QEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPointer>
#include <QTableView>

namespace lexorant {

namespace {

constexpr int kMessageRow = 3; // row 4 of the grid, below the heading row

// Entries written into the X-Info grid so far: a fresh grid has one empty entry column.
int ShownXInfoEntries(const XInfoGridModel& model) {
    return model.Cell(1, 0).isEmpty() ? 0 : model.ColCount() - 1;
}

class TemperatureChartMenu : public QObject {
public:
    explicit TemperatureChartMenu(TfrmMain& window) : QObject(&window), window_(window) {
        QMenu* analysis = &AnalysisMenu(window);
        item_ = analysis->addAction(QStringLiteral("&Temperatures"));
        item_->setObjectName(QStringLiteral("miTemperatures"));
        item_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
        item_->setStatusTip(QStringLiteral("Show the temperatures of the X-Info entries as a chart"));
        item_->setEnabled(false);
        connect(item_, &QAction::triggered, this, [this] { Open(); });

        XInfoGridModel& model = window.XInfoModel();
        auto update = [this] { item_->setEnabled(ShownXInfoEntries(window_.XInfoModel()) > 0); };
        connect(&model, &QAbstractItemModel::columnsInserted, this, update);
        connect(&model, &QAbstractItemModel::columnsRemoved, this, update);
        connect(&model, &QAbstractItemModel::dataChanged, this, update);
        connect(&model, &QAbstractItemModel::modelReset, this, [this, update] {
            update();
            // A new read or file replaces the entries the chart shows.
            if (chart_)
                chart_->close();
        });
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Hide && chart_)
            chart_->close();
        return QObject::eventFilter(watched, event);
    }

private:
    void Open() {
        if (!item_->isEnabled())
            return;
        if (chart_) {
            chart_->raise();
            chart_->activateWindow();
            return;
        }
        const int count = ShownXInfoEntries(window_.XInfoModel());
        chart_ = new TemperatureChartWindow(window_.Store(), static_cast<std::size_t>(count),
                                            [this](int entry) { SelectEntry(entry); }, &window_);
        chart_->show();
    }

    // The entry's column becomes current in the X-Info grid, as a click on its cell would make it.
    void SelectEntry(int entry) {
        auto* grid = window_.findChild<QTableView*>(QStringLiteral("sgXInfo"));
        if (!grid || entry >= ShownXInfoEntries(window_.XInfoModel()))
            return;
        window_.miXInfoClick();
        const QModelIndex current = grid->selectionModel()->currentIndex();
        const QModelIndex index = grid->model()->index(current.isValid() ? current.row() : kMessageRow, entry);
        grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        grid->scrollTo(index);
        // While the pointer is over the chart, the status bar shows the message there as well.
        if (chart_)
            SetHint(chart_, HintOf(grid));
    }

    TfrmMain& window_;
    QAction* item_ = nullptr;
    QPointer<TemperatureChartWindow> chart_;
};

} // namespace

void AddTemperatureChartMenu(TfrmMain& window) { new TemperatureChartMenu(window); }

} // namespace lexorant
