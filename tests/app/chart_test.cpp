// The temperature chart window: when it can be opened, that there is one, what a click on a point
// does in the X-Info grid, that it goes when its entries or the main window go, when its lines
// are smoothed, what its axes show and how a picture that cannot be written is told.
#include "app/hint_router.h"
#include "app/temperature_chart_window.h"
#include "app/tfrm_main.h"
#include "chart/chart_axes.h"
#include "chart/temperature_chart.h"
#include "file/info_file.h"
#include "tests/app/window_test_support.h"

#include <QAction>
#include <QChartView>
#include <QDateTime>
#include <QLineSeries>
#include <QTableView>

#include <ctime>

using namespace lexorant;
using namespace lexorant::test;

namespace {

// X-Info type 3 entries a day apart, TI rising by a degree each; entry 1 logs fault -1.
RecordStore XStore(std::uint16_t count) {
    RecordStore store;
    store.Replace({36, 0, 0}, {196, 3, count});
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* slot = store.XInfoSlot(i);
        slot[0] = 1;
        slot[1] = 24;
        slot[2] = 5;
        slot[3] = static_cast<std::uint8_t>(1 + i);
        slot[4] = 8;
        slot[8] = i == 1 ? 0xFF : 0;
        slot[9] = i == 1 ? 0xFF : 0;
        slot[22] = static_cast<std::uint8_t>(100 * i);
    }
    return store;
}

QList<TemperatureChartWindow*> ChartWindows(const TfrmMain& w) {
    return w.findChildren<TemperatureChartWindow*>();
}

} // namespace

class ChartTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(files_.isValid()); }

    void enabledOnlyWithXInfoEntries() {
        TfrmMain w;
        QAction* item = Item(w, "miTemperatures");
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
        QVERIFY(!item->isEnabled());
        const QString none = files_.filePath(QStringLiteral("none.inf"));
        QVERIFY(WriteInfoFile(XStore(0), none.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(none), 0);
        QVERIFY(!item->isEnabled());
        item->trigger();
        QVERIFY(ChartWindows(w).isEmpty());
        const QString some = files_.filePath(QStringLiteral("some.inf"));
        QVERIFY(WriteInfoFile(XStore(2), some.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(some), 0);
        QVERIFY(item->isEnabled());
    }

    void oneWindowShowingSetpointTiAndTrFirst() {
        TfrmMain w;
        w.show();
        const QString path = files_.filePath(QStringLiteral("three.inf"));
        QVERIFY(WriteInfoFile(XStore(3), path.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(path), 0);
        Item(w, "miTemperatures")->trigger();
        Item(w, "miTemperatures")->trigger();
        QCOMPARE(ChartWindows(w).size(), 1);
        TemperatureChart* chart = ChartWindows(w).front()->Chart();
        QCOMPARE(chart->Axis(), ChartAxis::ByTime);
        QVERIFY(chart->FieldShown("Setpoint") && chart->FieldShown("TI") && chart->FieldShown("TR"));
        QVERIFY(!chart->FieldShown("TE") && !chart->FieldShown("TcHt"));
        chart->SetFieldShown("TcHt", true);
        QVERIFY(chart->FieldShown("TcHt"));
        QVERIFY(chart->Describe(1).contains(QStringLiteral("Entry 2, 02.05.24 08:00:00")));
        QVERIFY(chart->Describe(1).contains(QStringLiteral("(fault)")));

        // Another file replaces the entries the chart shows: the chart goes with them.
        QPointer<TemperatureChartWindow> open = ChartWindows(w).front();
        QCOMPARE(w.LoadInfoFile(path), 0);
        QTRY_VERIFY(open.isNull());
        Item(w, "miTemperatures")->trigger();
        open = ChartWindows(w).front();
        w.close();
        QTRY_VERIFY(open.isNull());
    }

    void clickOnAPointMakesItsColumnCurrent() {
        TfrmMain w;
        w.show();
        const QString path = files_.filePath(QStringLiteral("click.inf"));
        QVERIFY(WriteInfoFile(XStore(3), path.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(path), 0);
        Item(w, "miTemperatures")->trigger();
        TemperatureChartWindow* window = ChartWindows(w).front();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        TemperatureChart* chart = window->Chart();
        auto* view = window->findChild<QChartView*>(QStringLiteral("chartView"));
        auto* series = qobject_cast<QLineSeries*>(chart->series().front());
        QTRY_VERIFY(series->count() == 3);
        const QPointF at = chart->mapToPosition(series->at(1), series);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(at));
        auto* grid = w.findChild<QTableView*>(QStringLiteral("sgXInfo"));
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->selectionModel()->currentIndex().column(), 1);
        QCOMPARE(HintOf(grid), HintOf(window));
        QVERIFY(!HintOf(window).isEmpty());
    }

    // Lines that fill their pixel columns from bottom to top are drawn unsmoothed; zoomed in on a
    // few entries, or calm from the start, they are smoothed.
    void busyLinesUnsmoothedUntilZoomedIn() {
        RecordStore calm = XStore(3);
        RecordStore busy = XStore(4000);
        for (std::size_t i = 0; i < 4000; ++i) {
            std::uint8_t* slot = busy.XInfoSlot(i);
            slot[3] = 1; // a second apart from 08:00:00
            slot[4] = static_cast<std::uint8_t>(8 + i / 3600);
            slot[5] = static_cast<std::uint8_t>(i / 60 % 60);
            slot[6] = static_cast<std::uint8_t>(i % 60);
            slot[23] = i % 2 ? 0x27 : 0; // TI about 0 or 100 degrees, entry by entry
        }
        for (RecordStore* store : {&calm, &busy}) {
            ReadOutData readOut;
            readOut.store = *store;
            readOut.in = EntrySet::All(store->GInfo, store->XInfo);
            TemperatureChartWindow window(readOut, store->XInfo.EntryCount, {}, nullptr);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto* view = window.findChild<QChartView*>(QStringLiteral("chartView"));
            QCOMPARE(view->renderHints().testFlag(QPainter::Antialiasing), store == &calm);
            QRectF few = window.Chart()->plotArea();
            few.setWidth(few.width() / 400);
            window.Chart()->zoomIn(few);
            QVERIFY(view->renderHints().testFlag(QPainter::Antialiasing));
        }
    }

    // Berlin changes to summer time on 31 March 2024 (02:00 becomes 03:00) and back on 27 October
    // (03:00 becomes 02:00 again).
    void timeAxisShowsTheLocalTimeOfEachPoint() {
#ifdef _WIN32
        QSKIP("the local time of Windows does not follow TZ");
#endif
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
        const auto wall = [](int month, int day, int hour, int minute) {
            return static_cast<double>(
                QDateTime(QDate(2024, month, day), QTime(hour, minute), Qt::UTC).toMSecsSinceEpoch());
        };
        const std::vector<double> walls = {wall(3, 31, 1, 30),  wall(3, 31, 2, 30),  wall(3, 31, 3, 30),
                                           wall(10, 27, 1, 30), wall(10, 27, 2, 30), wall(10, 27, 3, 30)};
        const LocalTimeScale scale(walls);
        const auto label = [](double view) {
            return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(view))
                .toString(QStringLiteral("dd.MM.yy hh:mm"));
        };
        for (std::size_t i = 0; i < walls.size(); ++i) {
            const QString own = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(walls[i]), Qt::UTC)
                                    .toString(QStringLiteral("dd.MM.yy hh:mm"));
            // A reading the clock skips goes to the change, so the points stay in order.
            QCOMPARE(label(scale.ViewOf(walls[i])), i == 1 ? QStringLiteral("31.03.24 03:00") : own);
            QVERIFY(i == 0 || scale.ViewOf(walls[i]) > scale.ViewOf(walls[i - 1]));
        }
        QCOMPARE(scale.WallOf(scale.ViewOf(walls[5])), walls[5]);
        zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
        tzset();

        // The axes' numbers as the grid writes them: the user's separator, no grouping.
        QCOMPARE(NumberLocale(QStringLiteral(",")).toString(1234.5, 'f', 1), QStringLiteral("1234,5"));
        QCOMPARE(NumberLocale(QStringLiteral(".")).toString(1234.5, 'f', 1), QStringLiteral("1234.5"));
    }

    void aPictureThatCannotBeWrittenSaysWhy() {
        ReadOutData readOut;
        readOut.store = XStore(3);
        readOut.in = EntrySet::All(readOut.store.GInfo, readOut.store.XInfo);
        TemperatureChartWindow window(readOut, 3, {}, nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ModalCloser closer;
        closer.fileForDialog = files_.filePath(QStringLiteral("no/such/chart.png"));
        window.findChild<QAction*>(QStringLiteral("actSaveAs"))->trigger();
        const QString said =
            QStringLiteral("Fehler: Unable to write file ") + closer.fileForDialog + QStringLiteral(": ");
        QVERIFY2(closer.seen.last().startsWith(said) && closer.seen.last().size() > said.size(),
                 qPrintable(closer.seen.last()));
    }

private:
    QTemporaryDir files_;
};

int main(int argc, char** argv) {
    return RunWindowTest<ChartTest>(argc, argv);
}

#include "chart_test.moc"
