// The window program's own arguments: which one is the read-out to open at start, and opening it.
#include "app/command_line.h"
#include "app/tfrm_main.h"
#include "file/info_file.h"
#include "tests/app/window_test_support.h"

#include <QAction>
#include <QDir>

#include <vector>

using namespace lexorant;
using namespace lexorant::test;

namespace {

std::string StartFile(const QStringList& args) {
    std::vector<QByteArray> storage{QByteArrayLiteral("lexorant")};
    for (const QString& a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<const char*> argv;
    for (const QByteArray& a : storage)
        argv.push_back(a.constData());
    return StartFileArgument(static_cast<int>(argv.size()), argv.data());
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void startFileIsTheFirstReadOut_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::newRow("none") << QStringList{} << QString();
        QTest::newRow("switch only") << QStringList{"/autosave"} << QString();
        QTest::newRow("after the switch") << QStringList{"-AUTOSAVE", "a.inf"} << QStringLiteral("a.inf");
        QTest::newRow("before the switch")
            << QStringList{"/x/A.INF", "/autosave"} << QStringLiteral("/x/A.INF");
        QTest::newRow("first of two") << QStringList{"a.inf", "b.inf"} << QStringLiteral("a.inf");
        QTest::newRow("other files ignored") << QStringList{"notes.txt", "inf", ".inf"} << QString();
        QTest::newRow("switch-like") << QStringList{"-x.inf"} << QString();
        QTest::newRow("trace file is no read-out")
            << QStringList{"-trace", "t.inf", "b.inf"} << QStringLiteral("b.inf");
    }
    void startFileIsTheFirstReadOut() {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        QCOMPARE(QString::fromStdString(StartFile(args)), file);
    }

    // A switch after "-trace" is no trace file: "-trace -autosave" wrote a file "-autosave".
    void traceFileIsNoSwitch_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("trace"); // "(none)": no -trace
        QTest::newRow("none") << QStringList{"a.inf"} << QStringLiteral("(none)");
        QTest::newRow("file") << QStringList{"/TRACE", "t.txt", "-trace", "u.txt"} << QStringLiteral("t.txt");
        QTest::newRow("last") << QStringList{"a.inf", "-trace"} << QString();
        QTest::newRow("dash switch") << QStringList{"-trace", "-autosave"} << QString();
        QTest::newRow("slash switch") << QStringList{"-trace", "/AutoSave"} << QString();
    }
    void traceFileIsNoSwitch() {
        QFETCH(QStringList, args);
        QFETCH(QString, trace);
        std::vector<QByteArray> storage{QByteArrayLiteral("lexorant")};
        for (const QString& a : args)
            storage.push_back(a.toLocal8Bit());
        std::vector<const char*> argv;
        for (const QByteArray& a : storage)
            argv.push_back(a.constData());
        const auto given = TraceFileArgument(static_cast<int>(argv.size()), argv.data());
        QCOMPARE(given ? QString::fromStdString(*given) : QStringLiteral("(none)"), trace);
    }

    void ordinaryArgumentsStartTheWindow() {
        const char* argv[] = {"lexorant", "-autosave", "a.inf", "-platform", "offscreen"};
        QVERIFY(!AnswerInfoOption(5, argv).has_value());
    }

    void startFileOpensAsFileOpenDoes() {
        QTemporaryDir files;
        QVERIFY(
            WriteInfoFile(RecordStore{}, files.filePath(QStringLiteral("unit.inf")).toStdString()).empty());
        const QString previous = QDir::currentPath();
        QDir::setCurrent(files.path());
        TfrmMain w;
        OpenStartFile(w, "unit.inf");
        QTRY_COMPARE(
            w.windowTitle(),
            QStringLiteral("Brenno Lexorant V1.2 - [%1]").arg(files.filePath(QStringLiteral("unit.inf"))));
        QDir::setCurrent(previous);
        QVERIFY(Item(w, "miGInfo")->isEnabled() && Item(w, "miXInfo")->isEnabled());
    }

    void failedStartFileStaysSilent() {
        ModalCloser closer;
        TfrmMain w;
        OpenStartFile(w, "/nonexistent/unit.inf");
        bool ranAfterIt = false; // zero timers run in the order they were started
        QTimer::singleShot(0, &w, [&ranAfterIt] { ranAfterIt = true; });
        QTRY_VERIFY(ranAfterIt);
        QCOMPARE(w.windowTitle(), QStringLiteral("Brenno Lexorant V1.3"));
        QCOMPARE(closer.seen, QStringList{});
        QVERIFY(!Item(w, "miGInfo")->isEnabled());
    }
};

int main(int argc, char** argv) {
    return RunWindowTest<CommandLineTest>(argc, argv);
}

#include "command_line_test.moc"
