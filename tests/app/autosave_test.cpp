// The read command with the autosave switch among the program's arguments: no dialog, the file
// named after the serial number with the first free number on drive O:.
#include "app/com_thread.h"
#include "file/info_file.h"
#include "tools/sim/simulator.h"
#include "tools/sim/unit.h"
#include "app/tfrm_main.h"
#include "tests/app/window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>
#include <optional>

using namespace lexorant;
using namespace lexorant::test;

namespace {

sim::SimUnit Unit(std::uint16_t gCount, std::uint16_t xCount) {
    sim::GenerateOptions options;
    options.gCount = gCount;
    options.xCount = xCount;
    return sim::GenerateUnit(options);
}

} // namespace

class AutosaveTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ForgetKeptReadOuts();
        std::string error;
        controller_.emplace(Unit(6, 3));
        QVERIFY2(controller_->Start(error), error.c_str());
        MapPorts({{3, controller_->SlavePath()}});
    }
    void cleanup() { controller_.reset(); }

    void readNamesItsFile() {
        QTemporaryDir drive;
        QVERIFY(QDir(drive.path()).mkpath(QStringLiteral("geraete/Lexorant")));
        const QString folder = drive.filePath(QStringLiteral("geraete/Lexorant"));
        QFile taken(folder + QStringLiteral("/4711-0815_01.inf"));
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.close();
        MapDrive('o', drive.path().toStdString());

        TfrmMain w;
        QStringList texts;
        RecordReadTexts(w, texts);
        ModalCloser closer;
        Item(w, "miRead")->trigger();
        QCOMPARE(w.windowTitle(),
                 QStringLiteral("Brenno Lexorant V1.2 - [O:\\geraete\\Lexorant\\4711-0815_02.inf]"));
        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(closer.seen, QStringList{}); // no dialog, no box
        QCOMPARE(texts, ExpectedReadTexts(6, 3));

        const QString written = folder + QStringLiteral("/4711-0815_02.inf");
        QCOMPARE(QFileInfo(written).size(), 12 + 16 * 6 + 96 * 3);
        RecordStore fromFile;
        QVERIFY(LoadInfoFile(written.toStdString(), fromFile));
        QVERIFY(fromFile == controller_->Unit().store);
        QCOMPARE(QFileInfo(taken.fileName()).size(), 0); // the earlier file is left alone
    }

    // Another laptop takes the chosen name while the window reads: the window writes the next number,
    // and its caption and every later message say so. The read is held at a failed entry's box.
    void nameTakenMeanwhileGoesToTheNextNumber() {
        sim::Behaviour behaviour;
        behaviour.faults = {{'G', 1, sim::FaultKind::WrongChecksum}};
        sim::Simulator controller(Unit(3, 2), behaviour);
        std::string error;
        QVERIFY2(controller.Start(error), error.c_str());
        MapPorts({{3, controller.SlavePath()}});
        QTemporaryDir drive;
        QVERIFY(QDir(drive.path()).mkpath(QStringLiteral("geraete/Lexorant")));
        const QString folder = drive.filePath(QStringLiteral("geraete/Lexorant"));
        MapDrive('o', drive.path().toStdString());

        TfrmMain w;
        ModalCloser closer;
        closer.leaveOpenText = QStringLiteral("CRC error in G-Info 2");
        QFile other(folder + QStringLiteral("/4711-0815_01.inf"));
        // The box runs its own event loop: the other laptop writes from a timer inside it.
        QTimer otherLaptop;
        QObject::connect(&otherLaptop, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->text() == closer.leaveOpenText) {
                otherLaptop.stop();
                if (other.open(QIODevice::WriteOnly)) {
                    other.write("other laptop");
                    other.close();
                }
                closer.leaveOpenText.clear();
            }
        });
        otherLaptop.start(5);
        w.miReadClick();
        QCOMPARE(w.windowTitle(), QStringLiteral("Brenno Lexorant V1.2 - [O:\\geraete\\Lexorant\\4711-0815_01.inf]"));

        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Brenno Lexorant V1.2 - [O:\\geraete\\Lexorant\\4711-0815_02.inf]"));
        QCOMPARE(closer.seen, QStringList{QStringLiteral("Fehler: CRC error in G-Info 2")});
        RecordStore withHole = controller.Unit().store;
        std::fill_n(withHole.GInfoSlot(1), kGInfoSlotSize, std::uint8_t{0});
        RecordStore fromFile;
        QVERIFY(LoadInfoFile((folder + QStringLiteral("/4711-0815_02.inf")).toStdString(), fromFile));
        QVERIFY(fromFile == withHole);
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), QByteArray("other laptop"));
        MapPorts({{3, controller_->SlavePath()}});
    }

    void unwritableFileIsReportedAndUnlocks() {
        QTemporaryDir drive; // without the folder geraete\Lexorant
        MapDrive('o', drive.path().toStdString());
        TfrmMain w;
        QStringList texts;
        RecordReadTexts(w, texts);
        ModalCloser closer;
        w.miReadClick();
        QVERIFY(WaitForReadEnd(w));
        QCOMPARE(closer.seen, QStringList{QStringLiteral(
                                  "Fehler: Unable to write file O:\\geraete\\Lexorant\\4711-0815_01.inf")});
        QCOMPARE(texts, ExpectedReadTexts(6, 3));
        QVERIFY(Item(w, "miRead")->isEnabled() && Item(w, "miOpen")->isEnabled() &&
                Item(w, "miSetup")->isEnabled());
        QVERIFY(QDir(drive.path()).isEmpty());
    }

private:
    std::optional<sim::Simulator> controller_;
};

// Any case, any position among the arguments.
int main(int argc, char** argv) {
    return RunWindowTest<AutosaveTest>(argc, argv, {QStringLiteral("first"), QStringLiteral("/AutoSave")});
}

#include "autosave_test.moc"
