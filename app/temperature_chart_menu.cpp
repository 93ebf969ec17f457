#include "app/temperature_chart_menu.h"

#include "app/analysis_item.h"
#include "app/hint_router.h"
#include "app/temperature_chart_window.h"
#include "platform/decimal_separator.h"
#include "readout/entry_set.h"
#include "records/entry_message.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPointer>

namespace lexorant {

namespace {

class TemperatureChartMenu : public QObject {
public:
    TemperatureChartMenu(QMenu& analysis, ReadOutSignals& readOut, EntrySelector select, QWidget* window)
        : QObject(window), readOut_(readOut), select_(std::move(select)), window_(window) {
        item_ = AddAnalysisItem(analysis, "miTemperatures", QStringLiteral("&Temperatures"),
                                QStringLiteral("Show the temperatures of the X-Info entries as a chart"));
        item_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
        connect(item_, &QAction::triggered, this, [this] { Open(); });

        connect(&readOut, &ReadOutSignals::entriesArrived, this, [this] { Update(); });
        connect(&readOut, &ReadOutSignals::replaced, this, [this] {
            Update();
            // A new read or file replaces the entries the chart shows.
            if (chart_)
                chart_->close();
        });
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Hide && chart_)
            chart_->close();
        return QObject::eventFilter(watched, event);
    }

private:
    std::size_t Entries() const { return readOut_.Document().Extent(InfoBlock::XInfo); }
    void Update() { item_->setEnabled(Entries() > 0); }

    void Open() {
        if (!item_->isEnabled())
            return;
        if (chart_) {
            chart_->raise();
            chart_->activateWindow();
            return;
        }
        // Entries that failed or were never read (a kept read-out) are left out.
        const ReadOut& readOut = readOut_.Document();
        chart_ = new TemperatureChartWindow(
            readOut.Data(), Entries(), [this](int entry) { SelectEntry(entry); }, window_);
        chart_->show();
    }

    void SelectEntry(int entry) {
        if (entry < 0 || static_cast<std::size_t>(entry) >= Entries())
            return;
        const EntryRef ref{InfoBlock::XInfo, static_cast<std::uint16_t>(entry)};
        select_(ref);
        const QString message = QString::fromStdString(
            MessageTextOfEntry(readOut_.Document().Data(), ref, UserDecimalSeparator()));
        // While the pointer is over the chart, the status bar shows the message there as well.
        if (chart_)
            SetHint(chart_, message);
    }

    ReadOutSignals& readOut_;
    EntrySelector select_;
    QWidget* window_;
    QAction* item_ = nullptr;
    QPointer<TemperatureChartWindow> chart_;
};

} // namespace

void AddTemperatureChartMenu(QMenu& analysis, ReadOutSignals& readOut, EntrySelector select,
                             QWidget* window) {
    new TemperatureChartMenu(analysis, readOut, std::move(select), window);
}

} // namespace lexorant
