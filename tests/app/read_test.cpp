// The read command against a simulated controller on COM3, with the file named in the save
// dialog: progress, grids, file, locked menus, failed entries and identification, quitting.
#include "app/com_thread.h"
#include "app/read_out_signals.h"
#include "app/tfrm_main.h"
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "link/kept_check.h"
#include "link/wire_trace.h"
#include "readout/read_out.h"
#include "tests/app/window_test_support.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMutex>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>

#include <algorithm>
#include <functional>
#include <stdexcept>

using namespace lexorant;
using namespace lexorant::test;

namespace {

const QString kStartCaption = QStringLiteral("Brenno Lexorant V1.3");
const QString kQuitQuestion =
    QStringLiteral("Warnung: Lexorant is still in progress! Do you really want to quit?");

sim::SimUnit Unit(std::uint16_t gCount, std::uint16_t xCount) {
    sim::GenerateOptions options;
    options.gCount = gCount;
    options.xCount = xCount;
    return sim::GenerateUnit(options);
}

// The controller becomes COM3, the one port the window finds.
bool StartOnCom3(sim::Simulator& controller) {
    std::string error;
    if (!controller.Start(error))
        return false;
    MapPorts({{3, controller.SlavePath()}});
    return true;
}

QStringList Requests(const sim::Simulator& controller) {
    QStringList lines;
    for (const std::string& line : controller.Requests())
        lines << QString::fromStdString(line);
    return lines;
}

// The entry requests only, in the order asked.
QStringList EntryRequests(const sim::Simulator& controller) {
    return Requests(controller).filter(QRegularExpression(QStringLiteral("^[GX]I@ ")));
}

std::filesystem::path KeptPath() {
    return *KeptReadOutPath("4711-0815");
}

QString Caption(const QString& fileName) {
    return QStringLiteral("Brenno Lexorant V1.2 - [") + fileName + "]";
}

qint64 FileSize(int gCount, int xCount) {
    return 12 + 16 * gCount + 96 * xCount;
}

bool CommandsEnabled(const TfrmMain& w) {
    return Item(w, "miRead")->isEnabled() && Item(w, "miOpen")->isEnabled() &&
           Item(w, "miSetup")->isEnabled();
}

bool CommandsDisabled(const TfrmMain& w) {
    return !Item(w, "miRead")->isEnabled() && !Item(w, "miOpen")->isEnabled() &&
           !Item(w, "miSetup")->isEnabled();
}

RecordStore Loaded(const QString& fileName) {
    RecordStore store;
    if (!LoadInfoFile(fileName.toStdString(), store))
        store.GInfo.AnswerLength = 0xFFFF; // compares unequal to any read
    return store;
}

// Warnings and worse of Qt, while a test has this installed.
QMutex warningsMutex;
QStringList warnings;
void RecordWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    // The offscreen platform's own note on every shown dialog is no fault of the window.
    if (type == QtDebugMsg || type == QtInfoMsg || text.contains(QStringLiteral("propagateSizeHints")))
        return;
    QMutexLocker lock(&warningsMutex);
    warnings << text;
}

// A window whose first file write fails in a way that no step expects.
class WindowWithThrowingWriter : public TfrmMain {
protected:
    WrittenFile WriteReadOut(const RecordStore& store) override {
        if (throws_) {
            throws_ = false;
            throw std::runtime_error("Disk exploded");
        }
        return TfrmMain::WriteReadOut(store);
    }

private:
    bool throws_ = true;
};

// Once the box with `text` is shown, the unit comes back: `back` starts and COM3 leads to it; `seen`
// gets the box first.
void PlugInWhileAsked(QTimer& timer, sim::Simulator& back, const QString& text,
                      std::function<void(QMessageBox&)> seen = {}) {
    QObject::connect(&timer, &QTimer::timeout, [&timer, &back, text, seen = std::move(seen)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->text() != text)
            return;
        if (seen)
            seen(*box);
        std::string error;
        QVERIFY2(back.Start(error), error.c_str());
        MapPorts({{3, back.SlavePath()}});
        timer.stop();
    });
    timer.start(5);
}

} // namespace

class ReadTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ForgetKeptReadOuts(); }

    void fullReadThroughSaveDialog_data() {
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("x");
        QTest::newRow("both logs") << 12 << 5;
        QTest::newRow("empty G-Info") << 0 << 2; // its View item stays disabled
    }

    void fullReadThroughSaveDialog() {
        QFETCH(int, g);
        QFETCH(int, x);
        sim::Simulator controller(Unit(static_cast<std::uint16_t>(g), static_cast<std::uint16_t>(x)));
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        w.show();
        QStringList texts;
        RecordReadTexts(w, texts);
        ModalCloser closer;
        const QString path = files_.filePath(QStringLiteral("full-%1-%2.inf").arg(g).arg(x));
        closer.fileForDialog = path;

        Item(w, "miRead")->trigger();
        QCOMPARE(closer.seen, QStringList{QStringLiteral("dialog: SaveDialog")});
        QVERIFY2(closer.proposedFiles.value(0).endsWith(QStringLiteral("/4711-0815.inf")),
                 qPrintable(closer.proposedFiles.value(0)));
        QCOMPARE(w.windowTitle(), Caption(path));
        QVERIFY(CommandsDisabled(w));

        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(texts, ExpectedReadTexts(g, x));
        QCOMPARE(w.GInfoModel().ColCount(), std::max(g, 1) + 1); // an empty block keeps one empty column
        QCOMPARE(w.XInfoModel().ColCount(), std::max(x, 1) + 1);
        const RecordStore& served = controller.Unit().store;
        QVERIFY(w.Store() == served);
        QCOMPARE(QFileInfo(path).size(), FileSize(g, x));
        QVERIFY(Loaded(path) == served);
        QVERIFY(CommandsEnabled(w));
        QCOMPARE(Item(w, "miGInfo")->isEnabled(), g > 0);
        QCOMPARE(Item(w, "miXInfo")->isEnabled(), x > 0);
        QCOMPARE(closer.seen.size(), 1); // no box during the read

        // After a finished read, quitting asks nothing.
        QVERIFY(w.close());
        QCOMPARE(closer.seen.size(), 1);
    }

    // Entry 2 is never answered: the thread waits for it while the commands are tried.
    void commandsLockedWhileReading() {
        sim::Behaviour behaviour;
        behaviour.faults = {{'G', 1, sim::FaultKind::NoAnswer}};
        sim::Simulator controller(Unit(3, 1), behaviour), spare(Unit(1, 1));
        std::string error;
        QVERIFY(controller.Start(error) && spare.Start(error));
        MapPorts({{3, controller.SlavePath()}, {5, spare.SlavePath()}});
        // Where kept read-outs go there is a file: nothing can be kept, and the window says so.
        const QString keptFolder = QString::fromStdString(KeptReadOutFolder()->string());
        QVERIFY(QDir().mkpath(QFileInfo(keptFolder).path()) && QFile(keptFolder).open(QIODevice::WriteOnly));
        TfrmMain w;
        w.show();
        ModalCloser closer;
        closer.fileForDialog = files_.filePath(QStringLiteral("locked.inf"));
        w.miReadClick();
        QTRY_VERIFY_WITH_TIMEOUT(Requests(controller).contains(QStringLiteral("GI@ 1\r\n")), 10000);
        QVERIFY(
            w.findChild<QLabel*>(QStringLiteral("timeLeft"))->text().contains(QStringLiteral("not kept: ")));

        QVERIFY(CommandsDisabled(w));
        // The whole read's progress beside the status text, while it runs.
        auto* progress = w.findChild<QProgressBar*>(QStringLiteral("readProgress"));
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->maximum(), 4);
        QCOMPARE(progress->value(), 1);
        Item(w, "miCOM5")->trigger();
        Item(w, "miBaud1200")->trigger();
        Item(w, "miRead")->trigger();
        Item(w, "miOpen")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (Qt::Key key : {Qt::Key_R, Qt::Key_O, Qt::Key_5})
            QTest::keyClick(&w, key, Qt::ControlModifier);
        QVERIFY(Item(w, "miCOM3")->isChecked() && !Item(w, "miCOM5")->isChecked());
        QVERIFY(Item(w, "miBaud9600")->isChecked() && !Item(w, "miBaud1200")->isChecked());
        // The View items stay usable, each once its block has an intact entry.
        QTableView* g = w.findChild<QTableView*>(QStringLiteral("sgGInfo"));
        QTableView* x = w.findChild<QTableView*>(QStringLiteral("sgXInfo"));
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!g->isHidden() && x->isHidden());
        QVERIFY(Item(w, "miGInfo")->isEnabled());
        QCOMPARE(closer.seen.size(), 1);

        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(closer.seen, (QStringList{"dialog: SaveDialog", "Fehler: Answer of G-Info 2 incomplete!"}));
        QVERIFY(CommandsEnabled(w));
        QVERIFY(!progress->isVisible());
        QVERIFY(Requests(spare).isEmpty());
    }

    // A close that the error box does not block (the session ending) answered with "&Ja": the
    // thread is waiting for that box, so the close must not wait for the thread.
    void closeFromInsideAnEntryErrorBox() {
        sim::Behaviour behaviour;
        behaviour.faults = {{'G', 1, sim::FaultKind::WrongChecksum}};
        sim::Simulator controller(Unit(3, 2), behaviour);
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        w.show();
        const QString path = files_.filePath(QStringLiteral("closed-in-box.inf"));
        ModalCloser closer;
        closer.answerYes = true;
        closer.fileForDialog = path;
        closer.leaveOpenText = QStringLiteral("CRC error in G-Info 2");
        bool closed = false;
        QTimer sessionEnd;
        QObject::connect(&sessionEnd, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!closed && box && box->text() == closer.leaveOpenText) {
                closed = true;
                QVERIFY(w.close()); // the question is answered in here
                closer.leaveOpenText.clear();
            }
        });
        sessionEnd.start(5);
        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        QVERIFY(closed && !w.isVisible());
        QCOMPARE(closer.seen,
                 (QStringList{"dialog: SaveDialog", kQuitQuestion, "Fehler: CRC error in G-Info 2"}));
        QCOMPARE(Requests(controller).last(), QStringLiteral("GI@ 1\r\n"));
        QVERIFY(!QFileInfo::exists(path));
    }

    void checksumErrorIsReportedAndTheReadGoesOn() {
        sim::Behaviour behaviour;
        behaviour.faults = {{'G', 1, sim::FaultKind::WrongChecksum}};
        sim::Simulator controller(Unit(3, 2), behaviour);
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        QStringList log;
        RecordReadTexts(w, log);
        ModalCloser closer(&log);
        const QString path = files_.filePath(QStringLiteral("crc.inf"));
        closer.fileForDialog = path;

        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        const QStringList expected{"dialog: SaveDialog",    "Reading G-Info 1 of 3",
                                   "Reading G-Info 2 of 3", "Fehler: CRC error in G-Info 2",
                                   "Reading G-Info 3 of 3", "3 G-Infos read",
                                   "Reading X-Info 1 of 2", "Reading X-Info 2 of 2",
                                   "2 X-Infos read"};
        QCOMPARE(log, expected);

        RecordStore withHole = controller.Unit().store;
        std::fill_n(withHole.GInfoSlot(1), kGInfoSlotSize, std::uint8_t{0});
        QVERIFY(w.Store() == withHole);
        QVERIFY(Loaded(path) == withHole);
        QCOMPARE(w.GInfoModel().ColCount(), 4);
        QVERIFY(w.GInfoModel().Cell(2, 4).isEmpty()); // no column written for the failed entry
        QVERIFY(!w.GInfoModel().Cell(3, 4).isEmpty());
        QVERIFY(CommandsEnabled(w));
    }

    // The reading thread's barrier: the error is shown as an escaped one, and the window is usable.
    void errorEscapingTheReadIsShownAndTheWindowStaysUsable() {
        sim::Simulator controller(Unit(2, 1));
        QVERIFY(StartOnCom3(controller));
        WindowWithThrowingWriter w;
        ModalCloser closer;
        const QString path = files_.filePath(QStringLiteral("after-error.inf"));
        closer.fileForDialog = path;

        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        QTRY_COMPARE(closer.seen, (QStringList{"dialog: SaveDialog", "Brenno Lexorant: Disk exploded."}));
        QVERIFY(CommandsEnabled(w));
        QVERIFY(!QFileInfo::exists(path));
        // Stopped by the error: the caption says that the read-out is not whole.
        QCOMPARE(w.ReadOutShown().Document().State(), ReadOutState::Stopped);
        QVERIFY(w.windowTitle().endsWith(QStringLiteral(" (partial)")));

        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        // The second save dialog and, since the first read wrote no file, whether to continue it; no error.
        QCOMPARE(closer.seen.size(), 4);
        QVERIFY(closer.seen.last().startsWith(QStringLiteral("Frage: ")));
        QVERIFY(Loaded(path) == controller.Unit().store);
        QVERIFY(CommandsEnabled(w));
    }

    // The unit hangs up at G-Info 3: one box. "Abbrechen" ends the read with the commands back,
    // no file, the grids and the kept read-out holding what came; the kept read-out opens as partial.
    void lostLineGivenUp() {
        sim::Behaviour behaviour;
        behaviour.hangUpAfter = 6; // the flush, SN?, both headers, G-Info 1 and 2
        sim::Simulator controller(Unit(6, 2), behaviour);
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        ModalCloser closer;
        const QString path = files_.filePath(QStringLiteral("given-up.inf"));
        closer.fileForDialog = path;

        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(closer.seen,
                 (QStringList{"dialog: SaveDialog",
                              "Fehler: The unit stopped answering at G-Info 3 of 6 (the line hung up)"}));
        QVERIFY(CommandsEnabled(w));
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(w.windowTitle(), Caption(path) + QStringLiteral(" (partial)"));
        QCOMPARE(w.ReadOutShown().Document().State(), ReadOutState::Stopped);
        QVERIFY(!w.GInfoModel().Cell(2, 4).isEmpty() && w.GInfoModel().Cell(3, 4).isEmpty());
        const auto kept = LoadKeptReadOut(KeptPath());
        QVERIFY(kept);
        QCOMPARE(kept->in.Count(), std::size_t{2});

        const QString keptName = QString::fromStdString(KeptPath().string());
        QCOMPARE(w.LoadInfoFile(keptName), 0);
        QCOMPARE(w.windowTitle(), Caption(keptName) + QStringLiteral(" (partial)"));
        QCOMPARE(w.ReadOutShown().Document().State(), ReadOutState::Stopped);
        QCOMPARE(w.ReadOutShown().Document().ArrivedCount(InfoBlock::GInfo), std::size_t{2});
        QVERIFY(!w.GInfoModel().Cell(2, 4).isEmpty() && w.GInfoModel().Cell(3, 4).isEmpty());
    }

    // "&Wiederholen" (the default; "Abbrechen" answers Escape) once the unit is back on the port:
    // the read goes on at the entry that failed and ends as an uninterrupted one.
    void lostLineRetried() {
        sim::Behaviour behaviour;
        behaviour.hangUpAfter = 6;
        sim::Simulator controller(Unit(6, 2), behaviour), back(Unit(6, 2));
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        ModalCloser closer;
        const QString path = files_.filePath(QStringLiteral("retried.inf"));
        closer.fileForDialog = path;
        closer.retryLostLine = true;
        closer.leaveOpenText =
            QStringLiteral("The unit stopped answering at G-Info 3 of 6 (the line hung up)");
        QString defaultButton, escapeButton;
        QTimer plugIn;
        PlugInWhileAsked(plugIn, back, closer.leaveOpenText, [&](QMessageBox& box) {
            defaultButton = box.defaultButton()->text();
            escapeButton = box.escapeButton()->text();
            closer.leaveOpenText.clear();
        });

        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(defaultButton, QStringLiteral("&Wiederholen"));
        QCOMPARE(escapeButton, QStringLiteral("Abbrechen"));
        QCOMPARE(closer.seen.size(), 2); // the save dialog and the one box
        QCOMPARE(EntryRequests(back).first(), QString::fromStdString(EntryRequest('G', 2)));
        QCOMPARE(EntryRequests(back).size(), 6);
        QVERIFY(Loaded(path) == controller.Unit().store);
        QCOMPARE(w.ReadOutShown().Document().State(), ReadOutState::Complete);
        QVERIFY(!std::filesystem::exists(KeptPath()));
    }

    // The adapter plugged in again while the box is open: the box closes by itself, the status bar says
    // so, and the read goes on to the uninterrupted file, asking the unit again only for the last entry
    // read.
    void lostLineComesBack() {
        sim::Behaviour behaviour;
        behaviour.hangUpAfter = 6;
        sim::Simulator controller(Unit(6, 2), behaviour), back(Unit(6, 2));
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        ModalCloser closer;
        const QString path = files_.filePath(QStringLiteral("came-back.inf"));
        closer.fileForDialog = path;
        closer.leaveOpenText =
            QStringLiteral("The unit stopped answering at G-Info 3 of 6 (the line hung up)");
        QTimer plugIn;
        PlugInWhileAsked(plugIn, back, closer.leaveOpenText);

        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        QVERIFY(!plugIn.isActive()); // the box was there; nothing but the window closed it
        QCOMPARE(closer.seen, QStringList{QStringLiteral("dialog: SaveDialog")});
        QCOMPARE(EntryRequests(back).first(), QString::fromStdString(EntryRequest('G', 1)));
        QCOMPARE(EntryRequests(back).size(), 1 + 6);
        QVERIFY(Loaded(path) == controller.Unit().store);
        QCOMPARE(w.ReadOutShown().Document().State(), ReadOutState::Complete);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("readNote"))->text(),
                 QStringLiteral("The unit answers again on COM3"));
    }

    // The kept entries that the check asks again, of G-Info 1 to 4 of the unit of seed 1.
    static std::vector<EntryRef> CheckSpread() {
        sim::GenerateOptions options;
        options.gCount = 6;
        options.xCount = 2;
        const RecordStore kept = sim::GenerateUnit(options).store;
        EntrySet in(kept.GInfo, kept.XInfo);
        for (std::uint16_t i = 0; i < 4; ++i)
            in.Add({InfoBlock::GInfo, i});
        return KeptEntriesToCheck(kept, in);
    }

    // A kept read-out of the unit (G-Info 1 to 4 of 6): after the identification the window asks
    // whether to continue it.
    void continueQuestion_data() {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<std::uint32_t>("keptSeed"); // of the unit whose entries were kept
        QTest::addColumn<bool>("checkAnswered");
        QTest::addColumn<int>("entriesAsked"); // 0: none, the read does not start
        const int spread = static_cast<int>(CheckSpread().size());
        QTest::newRow("continued") << true << 1u << true << spread + 4; // the check's spread, then the rest
        QTest::newRow("started anew") << false << 1u << true << 8;
        QTest::newRow("log changed since") << true << 2u << true << 1 + 8;
        QTest::newRow("no answer to the check") << true << 1u << false << 0;
    }

    void continueQuestion() {
        QFETCH(bool, answer);
        QFETCH(std::uint32_t, keptSeed);
        QFETCH(bool, checkAnswered);
        QFETCH(int, entriesAsked);
        sim::GenerateOptions options;
        options.gCount = 6;
        options.xCount = 2;
        options.seed = keptSeed;
        const RecordStore keptFrom = sim::GenerateUnit(options).store;
        {
            std::string error;
            auto keeper =
                KeptReadOutWriter::Begin(KeptPath(), "4711-0815", keptFrom.GInfo, keptFrom.XInfo, error);
            QVERIFY2(keeper, error.c_str());
            for (std::uint16_t i = 0; i < 4; ++i)
                keeper->Keep({InfoBlock::GInfo, i}, {keptFrom.GInfoSlot(i), kGInfoSlotSize});
        }
        sim::Behaviour behaviour;
        if (!checkAnswered) // every entry the check may ask
            for (std::size_t i = 0; i < 4; ++i)
                behaviour.faults.push_back({'G', i, sim::FaultKind::NoAnswer});
        sim::Simulator controller(Unit(6, 2), behaviour);
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        ModalCloser closer;
        closer.continueKept = answer;
        const QString path = files_.filePath(QStringLiteral("continued-%1.inf").arg(QTest::currentDataTag()));
        closer.fileForDialog = path;

        w.miReadClick();
        QStringList boxes{
            "dialog: SaveDialog",
            "Frage: A read of unit 4711-0815 stopped with 4 of 8 entries in. Continue it where it stopped?"};
        if (entriesAsked == 0) {
            boxes << QStringLiteral("Fehler: The unit gave no good answer for G-Info %1 of 6, asked to check "
                                    "its kept read-out")
                         .arg(CheckSpread().front().index + 1);
            QCOMPARE(closer.seen, boxes);
            QVERIFY(!w.CurrentThread());
            QVERIFY(CommandsEnabled(w));
            QVERIFY(LoadKeptReadOut(KeptPath())); // left for a later read
            return;
        }
        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(closer.seen, boxes);
        QCOMPARE(EntryRequests(controller).size(), entriesAsked);
        QVERIFY(Loaded(path) == controller.Unit().store);
        QVERIFY(!std::filesystem::exists(KeptPath()));
        QVERIFY(Item(w, "miGInfo")->isEnabled() && !w.GInfoModel().Cell(1, 4).isEmpty());
        // A read anew of a unit whose log changed says so beside the status text, not in a box.
        const auto* note = w.findChild<QLabel*>(QStringLiteral("readNote"));
        QVERIFY(note);
        const bool changed = keptSeed != 1;
        QCOMPARE(note->isVisibleTo(&w), changed);
        if (changed)
            QCOMPARE(note->text(),
                     QStringLiteral(
                         "The log of 4711-0815 has changed since its read-out was kept: reading it anew"));
    }

    void identificationFailure_data() {
        QTest::addColumn<int>("answered"); // requests answered, the flush line included
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("fileChosen");
        QTest::newRow("serial number")
            << 0 << "Unable to read the serial number! Please check the baudrate" << false;
        QTest::newRow("G-Info header") << 2 << "Unable to read G-Info type!" << true;
        QTest::newRow("X-Info header") << 3 << "Unable to read X-Info type!" << true;
    }

    void identificationFailure() {
        QFETCH(int, answered);
        QFETCH(QString, message);
        QFETCH(bool, fileChosen);
        sim::Behaviour behaviour;
        behaviour.stopAfter = static_cast<std::size_t>(answered);
        sim::Simulator controller(Unit(3, 2), behaviour);
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        const QString tracePath = files_.filePath(QStringLiteral("trace-%1.txt").arg(answered));
        std::string error;
        w.SetTrace(WireTrace::Open(tracePath.toStdString(), error));
        ModalCloser closer;
        // Typed without its extension: the dialog adds it.
        closer.fileForDialog = files_.filePath(QStringLiteral("identification-%1").arg(answered));
        const QString path = closer.fileForDialog + QStringLiteral(".inf");

        w.miReadClick();
        QStringList boxes{QStringLiteral("Fehler: ") + message};
        if (fileChosen)
            boxes.prepend(QStringLiteral("dialog: SaveDialog"));
        QCOMPARE(closer.seen, boxes);
        // The caption keeps a name once it was chosen.
        QCOMPARE(w.windowTitle(), fileChosen ? Caption(path) : kStartCaption);
        QCOMPARE(Requests(controller).size(), std::max(answered + 1, 2)); // nothing asked after the failure
        QVERIFY(!w.CurrentThread());
        QVERIFY(CommandsEnabled(w));
        QVERIFY(w.findChild<QTableView*>(QStringLiteral("sgGInfo"))->isHidden());
        QVERIFY(!QFileInfo::exists(path));
        // The box keeps its text; why it failed is in the trace.
        QFile trace(tracePath);
        QVERIFY(trace.open(QIODevice::ReadOnly));
        QVERIFY(trace.readAll().endsWith(" # " + message.toLatin1() + " (no answer within 2000 ms)\n"));
    }

    void cancelledSaveDialogEndsTheCommand() {
        sim::Simulator controller(Unit(3, 2));
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        ModalCloser closer; // no file: cancels
        w.miReadClick();
        QCOMPARE(closer.seen, QStringList{QStringLiteral("dialog: SaveDialog")});
        QCOMPARE(w.windowTitle(), kStartCaption);
        QCOMPARE(Requests(controller), (QStringList{"\r\n", "SN?\r\n"}));
        QVERIFY(!w.CurrentThread());
        QVERIFY(CommandsEnabled(w));
        QVERIFY(!QFileInfo::exists(closer.proposedFiles.value(0)));
    }

    // Entry 4 is never answered: the thread is still waiting for it when the user quits.
    void quitDuringReadAnsweredNo() {
        sim::Behaviour behaviour;
        behaviour.faults = {{'G', 3, sim::FaultKind::NoAnswer}};
        sim::Simulator controller(Unit(8, 2), behaviour);
        QVERIFY(StartOnCom3(controller));
        TfrmMain w;
        w.show();
        ModalCloser closer;
        const QString path = files_.filePath(QStringLiteral("quit-no.inf"));
        closer.fileForDialog = path;
        w.miReadClick();
        QTRY_VERIFY_WITH_TIMEOUT(Requests(controller).contains(QStringLiteral("GI@ 3\r\n")), 10000);

        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(WaitForReadEnd(w));
        const QStringList expected{"dialog: SaveDialog", kQuitQuestion,
                                   "Fehler: Answer of G-Info 4 incomplete!"};
        QCOMPARE(closer.seen, expected);
        QCOMPARE(w.GInfoModel().ColCount(), 9);
        QCOMPARE(QFileInfo(path).size(), FileSize(8, 2));
        RecordStore withHole = controller.Unit().store;
        std::fill_n(withHole.GInfoSlot(3), kGInfoSlotSize, std::uint8_t{0});
        QVERIFY(Loaded(path) == withHole);
    }

    void quitDuringReadAnsweredYes() {
        warnings.clear();
        struct Restore {
            QtMessageHandler previous = qInstallMessageHandler(RecordWarning);
            ~Restore() { qInstallMessageHandler(previous); }
        } restore;
        const QString path = files_.filePath(QStringLiteral("quit-yes.inf"));
        {
            sim::Behaviour behaviour;
            behaviour.faults = {{'G', 3, sim::FaultKind::NoAnswer}};
            sim::Simulator controller(Unit(8, 2), behaviour);
            QVERIFY(StartOnCom3(controller));
            TfrmMain w;
            w.show();
            ModalCloser closer;
            closer.answerYes = true;
            closer.fileForDialog = path;
            w.miReadClick();
            QTRY_VERIFY_WITH_TIMEOUT(Requests(controller).contains(QStringLiteral("GI@ 3\r\n")), 10000);

            QVERIFY(w.close());
            QVERIFY(w.CurrentThread()->isFinished());
            QCOMPARE(closer.seen, (QStringList{"dialog: SaveDialog", kQuitQuestion}));
            QCOMPARE(Requests(controller).last(), QStringLiteral("GI@ 3\r\n"));
            QVERIFY(!QFileInfo::exists(path));
        }
        // What came before the quit is kept for the next read.
        const auto kept = LoadKeptReadOut(KeptPath());
        QVERIFY(kept);
        QCOMPARE(kept->in.Count(), std::size_t{3});
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

private:
    QTemporaryDir files_;
};

int main(int argc, char** argv) {
    return RunWindowTest<ReadTest>(argc, argv);
}

#include "read_test.moc"
