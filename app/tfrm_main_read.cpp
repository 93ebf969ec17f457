// The read command and the reading thread's hand-off steps of the main window.
#include "app/tfrm_main.h"

#include "app/com_thread.h"
#include "app/message_boxes.h"
#include "app/read_out_signals.h"
#include "file/file_naming.h"
#include "file/kept_read_out.h"
#include "session/read_session.h"

#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>
#include <utility>

namespace lexorant {

namespace {

QString ContinueQuestion(const KeptReadOut& kept) {
    return QStringLiteral("A read of unit %1 stopped with %2 of %3 entries in. Continue it where it stopped?")
        .arg(QString::fromStdString(kept.serial))
        .arg(kept.in.Count())
        .arg(kept.in.Size());
}

} // namespace

void TfrmMain::miReadClick() {
    // A read typed ahead while the previous one was being identified must not start a second one.
    if (ReadRunning())
        return;
    // The previous read is over: what it kept stays on disk, and a kept read-out of this unit may be
    // continued now. A read that lost its line left the port as the loss left it (hung up, or its
    // device gone and back): it is opened again by its name, as Wiederholen does; still gone, the
    // identification below says so.
    const bool reopen = session_ && session_->LineWasLost();
    thread_.reset();
    session_.reset();
    if (reopen)
        port_.Reopen();
    readNote_->clear();
    readNote_->hide();

    auto session = std::make_unique<ReadSession>(port_);
    ReadChoices choices;
    choices.target = [this](const std::string& serial) {
        auto target = ChooseTarget(serial);
        if (target) {
            namedRead_ = QString::fromStdString(target->name);
            ShowCaption();
        }
        return target;
    };
    choices.continueKept = [this](const KeptReadOut& kept) {
        return AskQuestion(this, ContinueQuestion(kept));
    };
    switch (session->Prepare(choices)) {
    case Prepared::Ready:
        break;
    case Prepared::Cancelled:
        return;
    case Prepared::NotIdentified: // the box shows the text alone; why the line failed goes to the trace
    case Prepared::Unchecked:
        ShowErrorBox(this, QString::fromLatin1(session->FailureText().c_str()));
        return;
    case Prepared::Refused: // names the file, whose name is UTF-8
        ShowErrorBox(this, QString::fromStdString(session->FailureText()));
        return;
    }
    session_ = std::move(session);
    readNote_->setText(QString::fromStdString(ReadAnewText(session_->Start().from, session_->Serial())));
    readNote_->setVisible(!readNote_->text().isEmpty());
    const QString name = *std::exchange(namedRead_, std::nullopt);
    // At once, so that nothing queued behind this command can reach the store: the commands follow.
    readOut_->Document().StartRead(session_->TakeStartStore(), session_->Serial(), name.toStdString(),
                                   port_.PortName());
    SetGridVisible(sgGInfo_, sgXInfo_);
    ReadSteps& steps = *this;
    thread_ = std::make_unique<ComThread>(steps, *session_, readOut_->Document().StoreToFill(), this);
    thread_->start();
}

void TfrmMain::SetTrace(std::shared_ptr<WireTrace> trace) {
    port_.SetTrace(std::move(trace));
}

WrittenFile TfrmMain::WriteReadOut(const RecordStore& store) {
    return writeFile_(store);
}

std::optional<ReadTarget> TfrmMain::ChooseTarget(const std::string& serial) {
    ReadTarget target;
    if (autosave_) {
        // The number is claimed only when the file is written; the caption follows if it changes.
        target = AutosaveTarget(serial);
    } else {
        saveDialog_->selectFile(QString::fromStdString(ProposedFileName(serial)));
        if (saveDialog_->exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty())
            return std::nullopt;
        target = NamedTarget(saveDialog_->selectedFiles().front().toStdString());
    }
    writeFile_ = std::move(target.write);
    target.write = [this](const RecordStore& store) { return WriteReadOut(store); };
    return target;
}

void TfrmMain::EntryAsked() {
    if (estimate_)
        estimate_->Asked();
    ShowProgress();
}

void TfrmMain::ShowProgress() {
    if (!estimate_)
        return;
    readProgress_->setRange(0, std::max(estimate_->Total(), 1));
    readProgress_->setValue(estimate_->Finished());
    const auto left = estimate_->Left();
    QString text = left ? QString::fromStdString(TimeLeftText(*left)) : QString();
    // A read of hours whose entries cannot be kept loses them all with the line: the user should know.
    if (const std::string why = session_ ? session_->KeepError() : std::string(); !why.empty())
        text += (text.isEmpty() ? QString() : QStringLiteral("; ")) + QStringLiteral("not kept: ") +
                QString::fromStdString(why);
    timeLeft_->setText(text);
}

// ---- Hand-offs of the reading thread --------------------------------------------------------
// Once the window is quitting, a step changes nothing: the window is going.

// The commands follow the read-out, which is being read since the read command started it.
void TfrmMain::LockMenus() {
    if (!quitting_)
        EnableCommands();
}

void TfrmMain::InitInfoGrids() {
    if (quitting_)
        return;
    lexorant::InitInfoGrids(Store(), gModel_, xModel_);
    SetGridVisible(sgGInfo_, sgXInfo_);
    estimate_.emplace(Store().GInfo.EntryCount + Store().XInfo.EntryCount);
    ShowProgress();
}

void TfrmMain::ShowKeptEntries(const EntrySet& in) {
    if (quitting_)
        return;
    readOut_->Document().EntriesKept(in);
    if (estimate_)
        estimate_->Kept(static_cast<int>(in.Count()));
    ShowProgress();
}

void TfrmMain::ShowStatus(const std::string& text) {
    if (!quitting_)
        statusBar()->showMessage(QString::fromStdString(text));
}

void TfrmMain::ShowGInfoEntry(int index) {
    if (quitting_)
        return;
    readOut_->Document().EntryArrived(EntryRef{InfoBlock::GInfo, static_cast<std::uint16_t>(index)});
    EntryAsked();
}

void TfrmMain::ShowXInfoEntry(int index) {
    if (quitting_)
        return;
    readOut_->Document().EntryArrived(EntryRef{InfoBlock::XInfo, static_cast<std::uint16_t>(index)});
    EntryAsked();
}

void TfrmMain::ShowError(const std::string& text) {
    if (quitting_)
        return;
    EntryAsked(); // an entry that failed (or, at the very end, the file)
    showingEntryError_ = true;
    ShowErrorBox(this, QString::fromStdString(text));
    showingEntryError_ = false;
}

// Wiederholen goes on at the entry that got no answer; Abbrechen ends the read, nothing is written
// under the file's name and the entries read so far are kept. Meanwhile the window looks for the
// unit: once it answers again on the port, the box closes by itself and the read goes on.
AfterLoss TfrmMain::LineLost(const LineLoss& loss) {
    if (quitting_)
        return AfterLoss::Stop;
    UnitLook look = UnitLook::Away;
    showingEntryError_ = true; // the reading thread waits for the answer, as for an entry's error box
    const RetryAnswer answer = AskRetryWhile(this, QString::fromStdString(LineLostText(loss)),
                                             static_cast<int>(kUnitLookInterval.count()), [this, &look] {
                                                 look = session_->LookForUnit();
                                                 return look != UnitLook::Away;
                                             });
    showingEntryError_ = false;
    if (quitting_) // closed from inside the box
        return AfterLoss::Stop;
    if (answer == RetryAnswer::Settled) {
        const std::string said =
            look == UnitLook::Back ? session_->BackText(port_.PortName()) : UnitChangedText(port_.PortName());
        statusBar()->showMessage(QString::fromStdString(said));
        readNote_->setText(QString::fromStdString(said));
        readNote_->show();
        return look == UnitLook::Back ? AfterLoss::Resume : AfterLoss::Stop;
    }
    return answer == RetryAnswer::Retry ? AfterLoss::Retry : AfterLoss::Stop;
}

void TfrmMain::ShowFileName(const std::string& fileName) {
    if (!quitting_)
        readOut_->Document().Rename(fileName);
}

void TfrmMain::ShowUnexpectedError(const std::string& text) {
    if (!quitting_)
        ShowStopBox(this, QString::fromStdString(text));
}

// The read-out is complete, or stopped with only some entries in; the commands and the caption follow.
void TfrmMain::UnlockMenus(ReadOutState end) {
    if (!quitting_)
        readOut_->Document().EndRead(end);
}

} // namespace lexorant
