// The message overview panel: what it lists after a file and a read, its order and filter, and where
// activating a row leads in the grids; and that it, the report, the chart and the summary's tally
// agree on what a fault is.
#include "app/hint_router.h"
#include "app/message_overview_model.h"
#include "catalogue/find_message_text.h"
#ifdef LEXORANT_WITH_CHART
#include "chart/temperature_chart.h"
#endif
#include "app/tfrm_main.h"
#include "file/info_file.h"
#include "records/message_overview.h"
#include "report/report_content.h"
#include "tests/app/window_test_support.h"
#include "tests/support/hand_made_read_out.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>

#include <algorithm>

using namespace lexorant;
using namespace lexorant::test;

namespace {

// G-Info: -16385, -1, -16385, -1, 0; X-Info: -1, -4106.
RecordStore Logged() {
    RecordStore store;
    store.Replace({36, 0, 5}, {196, 3, 2});
    const int g[] = {-16385, -1, -16385, -1, 0}, x[] = {-1, -4106};
    auto put = [](std::uint8_t* slot, int code) {
        slot[1] = 24, slot[2] = 5, slot[3] = 1;
        slot[8] = static_cast<std::uint8_t>(code & 0xFF);
        slot[9] = static_cast<std::uint8_t>((code >> 8) & 0xFF);
    };
    for (std::size_t i = 0; i < 5; ++i)
        put(store.GInfoSlot(i), g[i]);
    for (std::size_t i = 0; i < 2; ++i)
        put(store.XInfoSlot(i), x[i]);
    return store;
}

QTableView* List(const TfrmMain& w) {
    return w.findChild<QTableView*>(QStringLiteral("tvMessages"));
}

QStringList Column(const QAbstractItemModel* m, int column) {
    QStringList texts;
    for (int r = 0; r < m->rowCount(); ++r)
        texts << m->index(r, column).data().toString();
    return texts;
}

} // namespace

class OverviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(files_.isValid()); }

    void listsAFileAndLeadsToEachEntryOfACode() {
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(!w.findChild<QDockWidget*>(QStringLiteral("dwMessages"))); // nothing until opened
        const QString path = files_.filePath(QStringLiteral("logged.inf"));
        QVERIFY(WriteInfoFile(Logged(), path.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(path), 0);
        QCOMPARE(Item(w, "miMessages")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        Item(w, "miMessages")->trigger();
        QTableView* list = List(w);
        QVERIFY(list && list->isVisible() && list->hasFocus());
        const QAbstractItemModel* rows = list->model();
        QCOMPARE(Column(rows, 0), (QStringList{"-1", "-16385", "-4106", "0"})); // most frequent first
        QCOMPARE(Column(rows, 2), (QStringList{"2", "2", "0", "1"}));
        QCOMPARE(rows->index(0, 1).data().toString(), QStringLiteral("\u26A0 Fault"));
        QCOMPARE(rows->index(0, 4).data().toString(), QStringLiteral("01.05.24 00:00:00"));

        // Return goes to the code's entries in turn: G-Info 2 and 4, X-Info 1, then G-Info 2 again.
        auto* g = w.findChild<QTableView*>(QStringLiteral("sgGInfo"));
        auto* x = w.findChild<QTableView*>(QStringLiteral("sgXInfo"));
        const QString text = QString::fromStdString(FindMessageText("-1"));
        const struct {
            QTableView* grid;
            int column;
        } expected[] = {{g, 1}, {g, 3}, {x, 0}, {g, 1}};
        for (const auto& step : expected) {
            QTest::keyClick(list, Qt::Key_Return);
            QVERIFY(step.grid->isVisible());
            QCOMPARE(step.grid->selectionModel()->currentIndex().column(), step.column);
            QCOMPARE(HintOf(step.grid), text);
            QCOMPARE(w.statusBar()->currentMessage(), text);
        }

        auto* filter = w.findChild<QLineEdit*>(QStringLiteral("edMessageFilter"));
        filter->setText(QStringLiteral("TEMPERIERUNG")); // -16385: "Die Temperierung wurde ..."
        QCOMPARE(Column(rows, 0), QStringList{"-16385"});
        filter->setText(QStringLiteral("410"));
        QCOMPARE(Column(rows, 0), QStringList{"-4106"});
        filter->clear();
        QHeaderView* header = list->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 4, 4));
        QCOMPARE(Column(rows, 0), (QStringList{"-16385", "-4106", "-1", "0"}));

        // Another file replaces the list.
        RecordStore other;
        other.Replace({36, 0, 1}, {196, 3, 0});
        other.GInfoSlot(0)[8] = 0xFE, other.GInfoSlot(0)[9] = 0xFF;
        QVERIFY(WriteInfoFile(other, path.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(path), 0);
        QTRY_COMPARE(Column(rows, 0), QStringList{"-2"});
    }

    // The shown read-out against the unit's previous autosave read-out, proposed by the dialog: the
    // overview counts each code's new entries, narrows to them, and goes to a new entry first; the
    // grid's heading of that entry is marked; another file ends the comparison.
    void comparesWithTheUnitsPreviousReadOut() {
        QDir folder(files_.path());
        QVERIFY(folder.mkpath(QStringLiteral("visits")));
        const QString older = files_.filePath(QStringLiteral("visits/4711-0815_01.inf"));
        const QString newer = files_.filePath(QStringLiteral("visits/4711-0815_03.inf"));
        RecordStore since = Logged();
        since.GInfoSlot(4)[3] = 9; // -1 of another day instead of 0: the entry is new, all others are known
        since.GInfoSlot(4)[8] = 0xFF, since.GInfoSlot(4)[9] = 0xFF;
        QVERIFY(WriteInfoFile(Logged(), older.toStdString()).empty());
        QVERIFY(WriteInfoFile(since, newer.toStdString()).empty());
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.LoadInfoFile(newer), 0);
        ModalCloser closer;
        closer.fileForDialog = older;
        QAction* compare = Item(w, "miCompare");
        emit w.findChild<QMenu*>(QStringLiteral("miAnalysis"))->aboutToShow();
        QVERIFY(compare->isEnabled());
        compare->trigger();
        QCOMPARE(closer.proposedFiles, QStringList{older});
        QTableView* list = List(w);
        QTRY_VERIFY(list && list->isVisible());
        const QAbstractItemModel* rows = list->model();
        QTRY_VERIFY(!list->isColumnHidden(MessageOverviewModel::NewColumn));
        QCOMPARE(Column(rows, 0), (QStringList{"-1", "-16385", "-4106"}));
        QCOMPARE(Column(rows, MessageOverviewModel::NewColumn), (QStringList{"1", "0", "0"}));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lbSince"))->text(),
                 QStringLiteral("Since 4711-0815_01.inf: 1 new G-Info, 0 new X-Info entries"));
        w.findChild<QCheckBox*>(QStringLiteral("cbNewOnly"))->setChecked(true);
        QCOMPARE(Column(rows, 0), QStringList{"-1"});

        list->setCurrentIndex(rows->index(0, 0));
        QTest::keyClick(list, Qt::Key_Return); // G-Info 5 before the earlier -1 entries
        auto* g = w.findChild<QTableView*>(QStringLiteral("sgGInfo"));
        QCOMPARE(g->selectionModel()->currentIndex().column(), 4);
        QVERIFY(w.GInfoModel().headerData(4, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!w.GInfoModel().headerData(3, Qt::Horizontal, Qt::FontRole).isValid());
        QCOMPARE(w.GInfoModel().headerData(4, Qt::Horizontal).toString(), QStringLiteral("5"));

        QCOMPARE(w.LoadInfoFile(older), 0);
        QTRY_VERIFY(list->isColumnHidden(MessageOverviewModel::NewColumn));
        QVERIFY(!w.findChild<QLabel*>(QStringLiteral("lbSince"))->isVisible());
        QVERIFY(!w.GInfoModel().headerData(4, Qt::Horizontal, Qt::FontRole).isValid());
    }

    // -2 lies among the faults, though the catalogue has no text for it.
    void aFaultTheCatalogueLacksIsAFaultEverywhere() {
        const RecordStore store = HandMadeReadOut({{-2}, {-16385}}, {{-2}});
        const EntryRef gFault{InfoBlock::GInfo, 0}, xFault{InfoBlock::XInfo, 0};

        MessageOverviewModel overview;
        for (const EntryRef entry : {gFault, EntryRef{InfoBlock::GInfo, 1}, xFault})
            overview.Add(store, entry);
        overview.Publish();
        QCOMPARE(overview.index(0, MessageOverviewModel::KindColumn).data().toString(),
                 QStringLiteral("\u26A0 Fault"));

        ReadOutData readOut;
        readOut.store = store;
        readOut.in = EntrySet::All(store.GInfo, store.XInfo);
        readOut.name = "4711-0815_01.inf";
        MessageTally tally; // what summary counts faults by
        TallyMessages(readOut, tally);
        QCOMPARE(tally.Rows()[static_cast<std::size_t>(tally.Find(-2))].kind, MessageKind::Fault);

        const ReportContent report = BuildReportContent(readOut, "now");
        QCOMPARE(report.overview.rows.front().front(), std::string("-2"));
        QCOMPARE(report.overview.rows.front()[1], std::string("Fault"));
        QCOMPARE(report.faults.rows.size(), std::size_t(2));

#ifdef LEXORANT_WITH_CHART
        const TemperatureChart chart(readOut, 1, ChartAxis::ByEntry);
        QVERIFY(chart.Describe(0).endsWith(QStringLiteral(" (fault)")));
#endif
    }

    void followsARead() {
        sim::GenerateOptions options;
        options.gCount = 30;
        options.xCount = 8;
        sim::Simulator controller(sim::GenerateUnit(options));
        std::string error;
        QVERIFY2(controller.Start(error), error.c_str());
        MapPorts({{3, controller.SlavePath()}});
        TfrmMain w;
        w.show();
        const QString path = files_.filePath(QStringLiteral("logged.inf"));
        QVERIFY(WriteInfoFile(Logged(), path.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(path), 0);
        Item(w, "miMessages")->trigger();
        const QAbstractItemModel* rows = List(w)->model();
        QTRY_COMPARE(rows->rowCount(), 4);

        ModalCloser closer;
        closer.fileForDialog = files_.filePath(QStringLiteral("read.inf"));
        w.miReadClick();
        QTRY_COMPARE(rows->rowCount(), 0); // the read cleared the grids
        QVERIFY(WaitForReadEnd(w));
        // Entry by entry the panel counted what the whole read-out holds.
        std::vector<MessageRow> whole = BuildMessageOverview(w.Store()).Rows();
        std::sort(whole.begin(), whole.end(), [](const MessageRow& a, const MessageRow& b) {
            return a.Total() != b.Total() ? a.Total() > b.Total() : a.code < b.code;
        });
        QStringList codes, counts;
        for (const MessageRow& row : whole)
            codes << QString::number(row.code), counts << QString::number(row.gInfo);
        QTRY_COMPARE(Column(rows, 0), codes);
        QCOMPARE(Column(rows, 2), counts);
    }

private:
    QTemporaryDir files_;
};

int main(int argc, char** argv) {
    return RunWindowTest<OverviewTest>(argc, argv);
}

#include "overview_test.moc"
