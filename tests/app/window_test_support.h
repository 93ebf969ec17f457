#pragma once
// What the window tests share: a private device folder in which every COM name is mapped, a
// closer that answers modal boxes and file dialogs, and the status texts of a read.
#include "app/lexorant_application.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <map>
#include <string>

class QAction;

namespace lexorant {
class TfrmMain;
}

namespace lexorant::test {

// Points XDG_CONFIG_HOME at `folder` (and XDG_STATE_HOME, where reads keep their entries, into it);
// the window probes the ports when it is created, so this must happen first, or the machine's own
// serial ports would count.
void UseDeviceFolder(const QTemporaryDir& folder);

// Removes every kept read-out: a read that an earlier test stopped is not continued.
void ForgetKeptReadOuts();

// comN leads to targets[n]; every other COM name dangles, so that no port falls back to a
// real /dev/tty* device.
void MapPorts(const std::map<int, std::string>& targets);

// The drive link "o:" to `target` (the autosave folder lives on drive O:).
void MapDrive(char letter, const std::filesystem::path& target);

QAction* Item(const TfrmMain& window, const char* name);

// Answers every modal box and file dialog that opens while it lives, polling from the event
// loop, and notes what it saw in `log` as "caption: text" (file dialogs as "dialog: name").
class ModalCloser {
public:
    explicit ModalCloser(QStringList* log = nullptr);

    bool answerYes = false;    // to the quit question
    bool continueKept = true;  // "&Ja" to the question whether to continue a kept read-out
    bool retryLostLine = false; // "&Wiederholen" when the line is lost, else "Abbrechen"
    QString fileForDialog;     // the file a dialog accepts; empty cancels it
    QString leaveOpenText;     // a box with this text is left to the test for now
    QStringList seen;          // every box and dialog, as logged
    QStringList proposedFiles; // what each file dialog proposed when it opened

private:
    void Poll();
    QTimer timer_;
    QStringList* log_;
    QPointer<QWidget> last_;
};

// Notes the read's progress and end-of-block texts as the status bar shows them.
void RecordReadTexts(TfrmMain& window, QStringList& log);

// What a read of g G-Infos and x X-Infos shows, all entries intact.
QStringList ExpectedReadTexts(int g, int x);

// Waits for the current read to end; false on time-out.
bool WaitForReadEnd(const TfrmMain& window, int timeoutMs = 60000);

// Runs the test object under the program's own application object, which supplies the German
// shortcut names; appArgs are the application's arguments after the program name.
template <typename Test> int RunWindowTest(int argc, char** argv, QStringList appArgs = {}) {
    QTemporaryDir configHome;
    UseDeviceFolder(configHome);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QList<QByteArray> storage{QByteArray(argv[0])};
    for (const QString& a : appArgs)
        storage.append(a.toLocal8Bit());
    std::vector<char*> appArgv;
    for (QByteArray& a : storage)
        appArgv.push_back(a.data());
    int appArgc = static_cast<int>(appArgv.size());
    appArgv.push_back(nullptr);
    LexorantApplication app(appArgc, appArgv.data());
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace lexorant::test
