#include "tests/app/window_test_support.h"

#include "app/com_thread.h"
#include "platform/dos_devices.h"
#include "app/tfrm_main.h"
#include "file/kept_read_out.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>

#include <cstdlib>

namespace lexorant::test {

namespace fs = std::filesystem;

void UseDeviceFolder(const QTemporaryDir& folder) {
    ::setenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit().constData(), 1);
    ::setenv("XDG_STATE_HOME", (folder.path() + QStringLiteral("/state")).toLocal8Bit().constData(), 1);
}

void ForgetKeptReadOuts() {
    if (const auto folder = KeptReadOutFolder())
        fs::remove_all(*folder);
}

void MapPorts(const std::map<int, std::string>& targets) {
    const fs::path folder = DeviceFolder();
    fs::create_directories(folder);
    for (int n = 1; n <= 15; ++n) {
        const fs::path link = folder / ("com" + std::to_string(n));
        fs::remove(link);
        const auto target = targets.find(n);
        fs::create_symlink(target == targets.end() ? "/nonexistent/serial" : target->second, link);
    }
}

void MapDrive(char letter, const fs::path& target) {
    const fs::path link = DeviceFolder() / std::string{letter, ':'};
    fs::create_directories(link.parent_path());
    fs::remove(link);
    fs::create_symlink(target, link);
}

QAction* Item(const TfrmMain& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

ModalCloser::ModalCloser(QStringList* log) : log_(log) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(20);
}

void ModalCloser::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == last_)
        return;
    if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->text() == leaveOpenText)
        return;
    last_ = modal;
    QString entry;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        entry = box->windowTitle() + QStringLiteral(": ") + box->text();
        const QString caption = box->windowTitle();
        const bool askedToRetry = box->buttons().size() == 2 && caption == QStringLiteral("Fehler");
        const QString wanted = caption == QStringLiteral("Warnung") ? QString::fromLatin1(answerYes ? "&Ja" : "&Nein")
                               : caption == QStringLiteral("Frage")
                                   ? QString::fromLatin1(continueKept ? "&Ja" : "&Nein")
                               : askedToRetry ? QString::fromLatin1(retryLostLine ? "&Wiederholen" : "Abbrechen")
                                              : QStringLiteral("OK");
        QAbstractButton* button = nullptr;
        for (QAbstractButton* b : box->buttons())
            if (b->text() == wanted)
                button = b;
        if (!button)
            entry += QStringLiteral(" [no button ") + wanted + QLatin1Char(']');
        seen.append(entry);
        if (log_)
            log_->append(entry);
        if (button)
            button->click();
        else
            box->reject();
        return;
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        entry = QStringLiteral("dialog: ") + dialog->objectName();
        seen.append(entry);
        if (log_)
            log_->append(entry);
        proposedFiles.append(dialog->selectedFiles().value(0));
        if (fileForDialog.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(fileForDialog);
            // selectFile leaves the name field alone while it has the focus, as if the user typed.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(fileForDialog);
            static_cast<QDialog*>(dialog)->accept(); // the file dialog's own checks run
        }
        return;
    }
    entry = QStringLiteral("unexpected: ") + modal->metaObject()->className();
    seen.append(entry);
    modal->close();
}

void RecordReadTexts(TfrmMain& window, QStringList& log) {
    static const QRegularExpression readText(
        QStringLiteral("^(Reading [GX]-Info \\d+ of \\d+|\\d+ [GX]-Infos read)$"));
    QObject::connect(window.statusBar(), &QStatusBar::messageChanged, &window, [&log](const QString& text) {
        if (readText.match(text).hasMatch())
            log.append(text);
    });
}

QStringList ExpectedReadTexts(int g, int x) {
    QStringList texts;
    for (int i = 1; i <= g; ++i)
        texts << QStringLiteral("Reading G-Info %1 of %2").arg(i).arg(g);
    texts << QStringLiteral("%1 G-Infos read").arg(g);
    for (int i = 1; i <= x; ++i)
        texts << QStringLiteral("Reading X-Info %1 of %2").arg(i).arg(x);
    texts << QStringLiteral("%1 X-Infos read").arg(x);
    return texts;
}

bool WaitForReadEnd(const TfrmMain& window, int timeoutMs) {
    return QTest::qWaitFor([&window] { return window.CurrentThread() && window.CurrentThread()->Finished(); },
                           timeoutMs);
}

} // namespace lexorant::test
