// The window without a read: start-up, menus, port and rate items, opening files, the views,
// cell hints and quitting.
#include "app/file_dialog.h"
#include "app/hint_router.h"
#include "file/info_file.h"
#include "tools/sim/simulator.h"
#include "app/tfrm_main.h"
#include "tests/app/window_test_support.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>

#include <vector>

using namespace lexorant;
using namespace lexorant::test;

namespace {

const QString kMissingText = QStringLiteral("Der Meldungstext wurde noch nicht eingepflegt");
const QString kOverTemperature =
    QStringLiteral("Der Übertemperaturschutz meldet: Übertemperatur an ÜT-Fühler 1");

// A read-out whose entries carry these message codes and nothing else of note.
RecordStore StoreWithCodes(const std::vector<std::int16_t>& g, const std::vector<std::int16_t>& x) {
    RecordStore store;
    store.Replace({36, 0, static_cast<std::uint16_t>(g.size())},
                  {196, 3, static_cast<std::uint16_t>(x.size())});
    auto put = [](std::uint8_t* slot, std::int16_t code) {
        const auto bits = static_cast<std::uint16_t>(code);
        slot[0] = 1;
        slot[1] = 24; // 2024-05-17 08:30:00
        slot[2] = 5;
        slot[3] = 17;
        slot[4] = 8;
        slot[5] = 30;
        slot[8] = static_cast<std::uint8_t>(bits & 0xFFu);
        slot[9] = static_cast<std::uint8_t>(bits >> 8);
    };
    for (std::size_t i = 0; i < g.size(); ++i)
        put(store.GInfoSlot(i), g[i]);
    for (std::size_t i = 0; i < x.size(); ++i)
        put(store.XInfoSlot(i), x[i]);
    return store;
}

QTableView* Grid(const TfrmMain& window, const char* name) {
    return window.findChild<QTableView*>(QString::fromLatin1(name));
}

void SelectCell(QTableView* grid, int col, int row) {
    grid->selectionModel()->setCurrentIndex(grid->model()->index(row - 1, col - 1),
                                            QItemSelectionModel::ClearAndSelect);
}

QString Name(const char* prefix, int n) {
    return QString::fromLatin1(prefix) + QString::number(n);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { MapPorts({}); }

    void startsWithoutPorts() {
        TfrmMain w;
        for (int n = 1; n <= 15; ++n) {
            QAction* item = Item(w, qPrintable(Name("miCOM", n)));
            QVERIFY2(!item->isEnabled() && !item->isChecked(), qPrintable(item->objectName()));
        }
        for (int rate : {1200, 2400, 4800, 9600, 19200})
            QCOMPARE(Item(w, qPrintable(Name("miBaud", rate)))->isChecked(), rate == 9600);
        QCOMPARE(w.windowTitle(), QStringLiteral("Brenno Lexorant V1.3"));
        QCOMPARE(HintOf(&w), QStringLiteral("Kestrova"));
        QCOMPARE(HintOf(Grid(w, "sgXInfo")), QStringLiteral("Hallo"));
        QCOMPARE(HintOf(Grid(w, "sgGInfo")), QString());

        // The disabled View items do nothing: the client area stays empty.
        Item(w, "miGInfo")->trigger();
        Item(w, "miXInfo")->trigger();
        QVERIFY(Grid(w, "sgGInfo")->isHidden() && Grid(w, "sgXInfo")->isHidden());

        // A rate chosen without a port changes no tick.
        Item(w, "miBaud19200")->trigger();
        QVERIFY(Item(w, "miBaud9600")->isChecked());
        QVERIFY(!Item(w, "miBaud19200")->isChecked());

        ModalCloser closer;
        Item(w, "miRead")->trigger();
        QCOMPARE(closer.seen, QStringList{QStringLiteral("Fehler: Please select a COM-Port")});
    }

    void portAndRateItems() {
        sim::Simulator three(sim::SimUnit{}), five(sim::SimUnit{});
        std::string error;
        QVERIFY2(three.Start(error) && five.Start(error), error.c_str());
        MapPorts({{3, three.SlavePath()}, {5, five.SlavePath()}});
        TfrmMain w;
        auto ticked = [&w] {
            QList<int> ports;
            for (int n = 1; n <= 15; ++n)
                if (Item(w, qPrintable(Name("miCOM", n)))->isChecked())
                    ports << n;
            return ports;
        };
        for (int n = 1; n <= 15; ++n)
            QCOMPARE(Item(w, qPrintable(Name("miCOM", n)))->isEnabled(), n == 3 || n == 5);
        QCOMPARE(ticked(), QList<int>{3});

        Item(w, "miBaud19200")->trigger();
        for (int rate : {1200, 2400, 4800, 9600, 19200})
            QCOMPARE(Item(w, qPrintable(Name("miBaud", rate)))->isChecked(), rate == 19200);
        QCOMPARE(ticked(), QList<int>{3});

        Item(w, "miCOM5")->trigger();
        QCOMPARE(ticked(), QList<int>{5});
        Item(w, "miCOM1")->trigger(); // failed the probe: cannot be chosen
        QCOMPARE(ticked(), QList<int>{5});

        // Port 5 unplugged since start-up: no port is open afterwards.
        five.Stop();
        MapPorts({{3, three.SlavePath()}});
        Item(w, "miCOM5")->trigger();
        QCOMPARE(ticked(), QList<int>{});
        ModalCloser closer;
        Item(w, "miRead")->trigger();
        QCOMPARE(closer.seen, QStringList{QStringLiteral("Fehler: Please select a COM-Port")});

        Item(w, "miCOM3")->trigger();
        QCOMPARE(ticked(), QList<int>{3});
    }

    void menuBarLayout() {
        TfrmMain w;
        QStringList menus, captions;
        for (QAction* a : w.menuBar()->actions()) {
            menus << a->objectName();
            captions << a->text();
        }
        QCOMPARE(menus, (QStringList{"FileMenu", "miSetup", "miView", "miAnalysis"}));
        QCOMPARE(captions, (QStringList{"&File", "Setup", "View", "&Analysis"}));
        QStringList fileItems;
        for (QAction* a : w.findChild<QMenu*>(QStringLiteral("FileMenu"))->actions())
            fileItems << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(fileItems, (QStringList{"miRead", "miOpen", "-", "miExit"}));
    }

    void menuItem_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("miRead") << "FileMenu"
                                << "&Read..."
                                << "Strg+R"
                                << "Read the infos and save them to file" << true;
        QTest::newRow("miOpen") << "FileMenu"
                                << "Open..."
                                << "Strg+O"
                                << "Open a existing file" << true;
        QTest::newRow("miExit") << "FileMenu"
                                << "&Exit"
                                << ""
                                << "" << true;
        QTest::newRow("miCOMPort") << "miSetup"
                                   << "COM-Port"
                                   << ""
                                   << "" << true;
        QTest::newRow("Baudrate1") << "miSetup"
                                   << "Baudrate"
                                   << ""
                                   << "" << true;
        QTest::newRow("miGInfo") << "miView"
                                 << "G-Info"
                                 << "Strg+G"
                                 << "Show the general information" << false;
        QTest::newRow("miXInfo") << "miView"
                                 << "X-Info"
                                 << "Strg+X"
                                 << "Show the extended information" << false;
        const QString keys = QStringLiteral("123456789ABCDEF");
        for (int n = 1; n <= 15; ++n) // no ports: all disabled
            QTest::newRow(qPrintable(Name("miCOM", n)))
                << "miCOMPort" << Name("COM ", n) << QStringLiteral("Strg+") + keys[n - 1] << "" << false;
        for (int rate : {1200, 2400, 4800, 9600, 19200})
            QTest::newRow(qPrintable(Name("miBaud", rate))) << "Baudrate1" << QString::number(rate) << ""
                                                            << "" << true;
    }

    void menuItem() {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(QString, hint);
        QFETCH(bool, enabled);
        TfrmMain w;
        QAction* item = Item(w, QTest::currentDataTag());
        QVERIFY(item);
        QVERIFY(w.findChild<QMenu*>(menu)->actions().contains(item));
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut().toString(QKeySequence::NativeText), shortcut);
        QCOMPARE(item->statusTip(), hint);
        QCOMPARE(item->isEnabled(), enabled);
        QVERIFY(!item->isCheckable() || item->actionGroup() == nullptr); // no radio items
    }

    void opensFileAndSwitchesViews() {
        const QString path = files_.filePath(QStringLiteral("codes.inf"));
        const RecordStore written = StoreWithCodes({-1, 0, -16385}, {-4300, 0});
        QVERIFY(WriteInfoFile(written, path.toStdString()).empty());
        TfrmMain w;
        w.show();
        ModalCloser closer;
        closer.fileForDialog = path;
        Item(w, "miOpen")->trigger();
        QCOMPARE(closer.seen, QStringList{QStringLiteral("dialog: OpenDialog")});
        QCOMPARE(w.windowTitle(), QStringLiteral("Brenno Lexorant V1.2 - [") + path + QLatin1Char(']'));
        QVERIFY(w.Store() == written);
        QCOMPARE(w.GInfoModel().ColCount(), 4);
        QCOMPARE(w.XInfoModel().ColCount(), 3);
        QVERIFY(Item(w, "miGInfo")->isEnabled() && Item(w, "miXInfo")->isEnabled());

        QTableView* g = Grid(w, "sgGInfo");
        QTableView* x = Grid(w, "sgXInfo");
        QVERIFY(g->isVisible() && !x->isVisible());
        Item(w, "miXInfo")->trigger();
        QVERIFY(!g->isVisible() && x->isVisible());
        Item(w, "miXInfo")->trigger();
        QVERIFY(!g->isVisible() && x->isVisible());
        Item(w, "miGInfo")->trigger();
        QVERIFY(g->isVisible() && !x->isVisible());
        QVERIFY(!Item(w, "miGInfo")->isChecked() && !Item(w, "miXInfo")->isChecked());
    }

    void failedOpenChangesNothing_data() {
        QTest::addColumn<QString>("fileName"); // empty: the dialog is cancelled
        QTest::newRow("cancelled dialog") << QString();
        QTest::newRow("missing file") << files_.filePath(QStringLiteral("missing.inf"));
        QTest::newRow("folder") << files_.path();
    }

    void failedOpenChangesNothing() {
        QFETCH(QString, fileName);
        const QString good = files_.filePath(QStringLiteral("good.inf"));
        const RecordStore written = StoreWithCodes({-1, -2}, {-4});
        QVERIFY(WriteInfoFile(written, good.toStdString()).empty());
        TfrmMain w;
        QCOMPARE(w.LoadInfoFile(good), 0);
        Item(w, "miXInfo")->trigger();
        const QString caption = w.windowTitle();

        if (fileName.isEmpty()) {
            ModalCloser closer;
            Item(w, "miOpen")->trigger();
            QCOMPARE(closer.seen, QStringList{QStringLiteral("dialog: OpenDialog")});
        } else {
            ModalCloser closer;
            QCOMPARE(w.LoadInfoFile(fileName), 1);
            QCOMPARE(closer.seen, QStringList{}); // no message
        }
        QCOMPARE(w.windowTitle(), caption);
        QVERIFY(w.Store() == written);
        QCOMPARE(w.GInfoModel().ColCount(), 3);
        QCOMPARE(w.XInfoModel().ColCount(), 2);
        QVERIFY(Grid(w, "sgGInfo")->isHidden() && !Grid(w, "sgXInfo")->isHidden());
    }

    void fileDialogClosesItsCompletionList() {
        const QString path = files_.filePath(QStringLiteral("typed.inf"));
        QVERIFY(WriteInfoFile(StoreWithCodes({0}, {}), path.toStdString()).empty());
        QFileDialog dialog;
        SetUpFileDialog(dialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(files_.path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QTest::keyClicks(name, path);
        QAbstractItemView* list = name->completer()->popup();
        QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), 30000); // the folder is listed on a thread of its own
        QTest::keyClick(list, Qt::Key_Return); // the list holds the keyboard and hands keys to the field
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!list->isVisible());
    }

    void selectionSetsGridHint_data() {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("hint");
        // G-Info columns: 0, -607, -1, -4220, -16416, 5, -2; X-Info columns: -1, 0.
        QTest::newRow("code 0") << "sgGInfo" << 1 << 4 << "Keine Meldung!";
        QTest::newRow("empty text") << "sgGInfo" << 2 << 4 << "";
        QTest::newRow("-1, message row") << "sgGInfo" << 3 << 4 << kOverTemperature;
        QTest::newRow("-1, first row") << "sgGInfo" << 3 << 1 << kOverTemperature;
        QTest::newRow("-1, last row") << "sgGInfo" << 3 << 16 << kOverTemperature;
        QTest::newRow("-4220") << "sgGInfo" << 4 << 4
                               << "CAN-Nachricht im MessageObject 20 verlorengegangen.";
        QTest::newRow("-16416") << "sgGInfo" << 5 << 4 << "Temperierprogramm 10 wurde gestartet.";
        QTest::newRow("positive code") << "sgGInfo" << 6 << 4 << kMissingText;
        QTest::newRow("-2, not in table") << "sgGInfo" << 7 << 4 << kMissingText;
        QTest::newRow("X-Info -1") << "sgXInfo" << 1 << 6 << kOverTemperature;
        QTest::newRow("X-Info 0") << "sgXInfo" << 2 << 4 << "Keine Meldung!";
    }

    void selectionSetsGridHint() {
        QFETCH(QString, grid);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, hint);
        TfrmMain w;
        const QString path = files_.filePath(QStringLiteral("hints.inf"));
        QVERIFY(
            WriteInfoFile(StoreWithCodes({0, -607, -1, -4220, -16416, 5, -2}, {-1, 0}), path.toStdString())
                .empty());
        QCOMPARE(w.LoadInfoFile(path), 0);
        QTableView* selected = Grid(w, qPrintable(grid));
        QTableView* other = Grid(w, grid == QStringLiteral("sgGInfo") ? "sgXInfo" : "sgGInfo");
        const QString otherHint = HintOf(other);
        // Start from a known hint, so that an empty text is told from no change.
        SelectCell(selected, grid == QStringLiteral("sgGInfo") ? 1 : 2, 2);
        QCOMPARE(HintOf(selected), QStringLiteral("Keine Meldung!"));

        ModalCloser closer;
        SelectCell(selected, col, row);
        QCOMPARE(HintOf(selected), hint);
        QCOMPARE(HintOf(other), otherHint); // each grid keeps its own hint
        QCOMPARE(closer.seen, QStringList{});
    }

    void selectedTextReachesStatusBar() {
        const QString path = files_.filePath(QStringLiteral("pointer.inf"));
        QVERIFY(WriteInfoFile(StoreWithCodes({-4, -1}, {}), path.toStdString()).empty());
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.LoadInfoFile(path), 0);
        QTableView* g = Grid(w, "sgGInfo");
        QCursor::setPos(g->viewport()->mapToGlobal(g->viewport()->rect().center()));
        QSignalSpy shown(w.statusBar(), &QStatusBar::messageChanged);
        SelectCell(g, 2, 3);
        // The hint is taken up when the event loop next waits for events, which qWait never does.
        for (int i = 0; i < 10 && w.statusBar()->currentMessage() != kOverTemperature; ++i)
            shown.wait(500);
        QCOMPARE(w.statusBar()->currentMessage(), kOverTemperature);
    }

    void emptyColumnReportsConversionError() {
        const QString path = files_.filePath(QStringLiteral("empty.inf"));
        QVERIFY(WriteInfoFile(StoreWithCodes({}, {}), path.toStdString()).empty());
        TfrmMain w;
        QCOMPARE(w.LoadInfoFile(path), 0);
        QCOMPARE(w.GInfoModel().ColCount(), 2);
        ModalCloser closer;
        SelectCell(Grid(w, "sgGInfo"), 1, 4);
        QCOMPARE(closer.seen,
                 QStringList{QStringLiteral("Brenno Lexorant: Variante des Typs (String) konnte nicht in "
                                            "Typ (Double) konvertiert werden.")});
        QCOMPARE(HintOf(Grid(w, "sgGInfo")), kMissingText);
    }

    void shortcutsReachTheirCommands() {
        const QString path = files_.filePath(QStringLiteral("keys.inf"));
        QVERIFY(WriteInfoFile(StoreWithCodes({-1, 0}, {-4}), path.toStdString()).empty());
        TfrmMain w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTableView* g = Grid(w, "sgGInfo");
        QTableView* x = Grid(w, "sgXInfo");
        ModalCloser closer;
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier); // disabled at start
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(g->isHidden() && x->isHidden());
        QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(closer.seen, QStringList{QStringLiteral("Fehler: Please select a COM-Port")});

        w.activateWindow(); // the closed box leaves no window active
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.LoadInfoFile(path), 0);
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(g->isHidden() && !x->isHidden());
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(!g->isHidden() && x->isHidden());
    }

    void quitWithoutReadAsksNothing() {
        TfrmMain w;
        w.show();
        ModalCloser closer;
        Item(w, "miExit")->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(closer.seen, QStringList{});
    }

private:
    QTemporaryDir files_;
};

int main(int argc, char** argv) {
    return RunWindowTest<WindowTest>(argc, argv);
}

#include "window_test.moc"
