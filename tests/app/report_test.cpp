// "&Report..." of the main window: when it can be chosen, what its dialog proposes, what it writes and
// how a failed write is told.
#include "app/app_texts.h"
#include "app/read_out_signals.h"
#include "app/report_action.h"
#include "app/shown_comparison.h"
#ifdef LEXORANT_WITH_CHART
#include "app/temperature_chart_menu.h"
#endif
#include "file/info_file.h"
#include "tools/sim/unit.h"
#include "app/tfrm_main.h"
#include "tests/app/window_test_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

using namespace lexorant;
using namespace lexorant::test;

class ReportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(files_.isValid()); }

    void writesTheReportOfTheReadOutShown() {
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QAction* report = Item(w, "miReport");
        auto* analysis = w.findChild<QMenu*>(QStringLiteral("miAnalysis"));
        QVERIFY(report && analysis);
        auto enabled = [&] {
            emit analysis->aboutToShow();
            return report->isEnabled();
        };
        QVERIFY(!enabled());

        const QString path = files_.filePath(QStringLiteral("4711-0815_05.inf"));
        QVERIFY(WriteInfoFile(sim::GenerateUnit({}).store, path.toStdString()).empty());
        QCOMPARE(w.LoadInfoFile(path), 0);
        QVERIFY(enabled());
        ModalCloser closer;
        closer.fileForDialog = files_.filePath(QStringLiteral("visit.pdf"));
        report->trigger();
        QCOMPARE(closer.seen, QStringList{"dialog: ReportDialog"});
        QCOMPARE(closer.proposedFiles, QStringList{files_.filePath(QStringLiteral("4711-0815_05.pdf"))});
        QFile written(closer.fileForDialog);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.read(5) == "%PDF-");

        // Below a file, as if a folder of that name were meant.
        closer.fileForDialog = files_.filePath(QStringLiteral("visit.pdf/again.pdf"));
        report->trigger();
        QCOMPARE(closer.seen.last(), QStringLiteral("Fehler: Unable to write file ") + closer.fileForDialog);

        // An autosave read-out, named as on Windows: the dialog starts beside it all the same.
        QVERIFY(QDir(files_.path()).mkpath(QStringLiteral("geraete/Lexorant")));
        QVERIFY(QFile::copy(path, files_.filePath(QStringLiteral("geraete/Lexorant/4711-0815_07.inf"))));
        MapDrive('o', files_.path().toStdString());
        QCOMPARE(w.LoadInfoFile(QStringLiteral("O:\\geraete\\Lexorant\\4711-0815_07.inf")), 0);
        closer.fileForDialog.clear();
        report->trigger();
        QCOMPARE(closer.proposedFiles.last(), files_.filePath(QStringLiteral("geraete/Lexorant/4711-0815_07.pdf")));
    }

    // The analysis items follow the read-out alone: no window, no grid, no caption.
    void itemsFollowTheReadOutState() {
        QWidget parent;
        QMenu analysis;
        ReadOutSignals readOut;
        const ShownComparison comparison(readOut);
        AddReportMenu(analysis, readOut, comparison, &parent);
#ifdef LEXORANT_WITH_CHART
        AddTemperatureChartMenu(analysis, readOut, [](EntryRef) { return QString(); }, &parent);
#endif
        auto enabled = [&](const char* name) {
            emit analysis.aboutToShow();
            auto* item = analysis.findChild<QAction*>(QString::fromLatin1(name));
            return item && item->isEnabled();
        };
        QVERIFY(!enabled("miReport"));
        const RecordStore unit = sim::GenerateUnit({}).store;
        readOut.Document().StartRead(unit, "4711-0815", "4711-0815_06.inf", "COM1");
        QVERIFY(!enabled("miReport")); // not while it is being read
#ifdef LEXORANT_WITH_CHART
        QVERIFY(!enabled("miTemperatures"));
        readOut.Document().EntryArrived(EntryRef{InfoBlock::XInfo, 1}); // the first one failed
        QVERIFY(enabled("miTemperatures"));
#endif
        readOut.Document().EndRead(ReadOutState::Stopped);
        QVERIFY(enabled("miReport"));
        readOut.Document().StartRead(unit, "4711-0815", "4711-0815_07.inf", "COM1");
        QVERIFY(!enabled("miReport"));
#ifdef LEXORANT_WITH_CHART
        QVERIFY(!enabled("miTemperatures"));
#endif
    }

private:
    QTemporaryDir files_;
};

int main(int argc, char** argv) {
    return RunWindowTest<ReportTest>(argc, argv);
}

#include "report_test.moc"
