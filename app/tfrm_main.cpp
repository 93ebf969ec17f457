#include "app/tfrm_main.h"

#include "app/app_icon.h"
#include "app/app_texts.h"
#include "file/autosave_file.h"
#include "app/com_thread.h"
#include "app/export_action.h"
#include "app/file_dialog.h"
#include "app/grid_heading_style.h"
#include "file/file_naming.h"
#include "catalogue/find_message_text.h"
#include "platform/decimal_separator.h"
#include "app/hint_router.h"
#include "link/identification.h"
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "file/read_out_file.h"
#include "link/read_start.h"
#include "app/message_boxes.h"
#include "app/message_overview_panel.h"
#include "app/read_out_signals.h"
#include "app/report_action.h"
#ifdef LEXORANT_WITH_CHART
#include "app/temperature_chart_menu.h"
#endif

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace lexorant {

namespace {

constexpr int kMessageRow = 3; // row 4 of a grid, below the heading row

// The grids take the user's separator as one character; it is never empty.
QChar DecimalSeparator() {
    return QString::fromStdString(UserDecimalSeparator()).front();
}

QFileDialog* MakeFileDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilter(kFileFilter);
    dialog->setDefaultSuffix(QStringLiteral("inf"));
    SetUpFileDialog(*dialog);
    dialog->setSizeGripEnabled(true);
    return dialog;
}

// The caption of a read-out of which only some entries have been read.
QString PartialCaption(const QString& fileName) { return FileCaption(fileName) + QStringLiteral(" (partial)"); }

QString ContinueQuestion(const KeptReadOut& kept) {
    return QStringLiteral("A read of unit %1 stopped with %2 of %3 entries in. Continue it where it stopped?")
        .arg(QString::fromStdString(kept.serial))
        .arg(kept.in.Count())
        .arg(kept.in.Size());
}

QTableView* MakeGrid(QWidget* parent, const char* name, QAbstractItemModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    // Tab leaves the grid, as in a string grid. A view that handles Tab itself also moves its current
    // cell when the window passes the focus on (hiding the grid does), which would count as a selection.
    grid->setTabKeyNavigation(false);
    grid->setCornerButtonEnabled(false);
    QHeaderView* rows = grid->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(15);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setFixedWidth(100);
    rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows->setSectionsClickable(false);
    KeepHeadingTextsWhole(*rows);
    QHeaderView* columns = grid->horizontalHeader();
    columns->setMinimumSectionSize(1);
    columns->setDefaultSectionSize(64);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setSectionsClickable(false);
    columns->setFixedHeight(15);
    KeepHeadingTextsWhole(*columns);
    // The heading of the fixed corner cell, which a table view leaves blank.
    auto* corner = new QLabel(QStringLiteral(" No."), grid);
    corner->setObjectName(QStringLiteral("cornerHeading"));
    corner->setAutoFillBackground(true);
    corner->setBackgroundRole(QPalette::Button);
    corner->setGeometry(grid->frameWidth(), grid->frameWidth(), 100, 15);
    // A filled grid has its first cell current, as a string grid does. Without one, the view makes a
    // cell current when it takes the focus, and that would count as the technician selecting it.
    auto makeFirstCellCurrent = [grid, model] {
        QItemSelectionModel* selection = grid->selectionModel();
        const QSignalBlocker quiet(selection);
        selection->setCurrentIndex(model->index(0, 0), QItemSelectionModel::ClearAndSelect);
    };
    // Every fill of a grid (a read's start, an opened file) is a model reset that leaves a first cell.
    QObject::connect(model, &QAbstractItemModel::modelReset, grid, makeFirstCellCurrent);
    grid->hide();
    return grid;
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    readOut_ = new ReadOutSignals(this);
    setWindowTitle(kStartCaption);
    setWindowIcon(AppIcon());
    SetHint(this, kWindowHint);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("sbStatus"));
    status->setSizeGripEnabled(false);
    status->setFixedHeight(23);
    setStatusBar(status);

    BuildMenus();
    BuildGrids();
    FollowReadOut();
    BuildAnalysisMenu();
    BuildProgress();
    saveDialog_ = MakeFileDialog(this, "SaveDialog", QFileDialog::AcceptSave);
    openDialog_ = MakeFileDialog(this, "OpenDialog", QFileDialog::AcceptOpen);

    resize(638, 448);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TfrmMain::~TfrmMain() {
    if (ReadRunning())
        StopReading();
    thread_.reset();
    port_.ClosePort();
}

void TfrmMain::FormCreate() {
    hints_ = new HintRouter(this, [this](const QString& hint) { ShowHint(hint); });
    for (QAction* action : menuBar()->actions())
        if (action->menu())
            hints_->WatchMenu(action->menu());
    // A failure here is reported and the window still comes up: files can be opened without a port.
    try {
        ProbePorts(port_, *this);
    } catch (const std::exception& e) {
        ShowStopBox(nullptr, QString::fromStdString(e.what()));
    }
}

QAction* TfrmMain::AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                           const QString& hint, void (TfrmMain::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setStatusTip(hint);
    parentMenu_.insert(action, menu);
    if (handler)
        connect(action, &QAction::triggered, this, [this, action, handler] {
            if (Reachable(action))
                (this->*handler)();
        });
    return action;
}

void TfrmMain::BuildMenus() {
    auto addMenu = [this](QMenu* parentMenu, const char* name, const QString& caption) {
        QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        if (parentMenu)
            parentMenu_.insert(menu->menuAction(), parentMenu);
        return menu;
    };

    QMenu* file = addMenu(nullptr, "FileMenu", QStringLiteral("&File"));
    miRead_ = AddItem(file, "miRead", QStringLiteral("&Read..."), QKeySequence(Qt::CTRL | Qt::Key_R),
                      QStringLiteral("Read the infos and save them to file"), &TfrmMain::miReadClick);
    miOpen_ = AddItem(file, "miOpen", QStringLiteral("Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                      QStringLiteral("Open a existing file"), &TfrmMain::miOpenClick);
    file->addSeparator()->setObjectName(QStringLiteral("N4"));
    AddItem(file, "miExit", QStringLiteral("&Exit"), {}, {}, &TfrmMain::FileExit);

    miSetup_ = addMenu(nullptr, "miSetup", QStringLiteral("Setup"));
    QMenu* ports = addMenu(miSetup_, "miCOMPort", QStringLiteral("COM-Port"));
    static const Qt::Key kPortKeys[kPortCount] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                                                  Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_A,
                                                  Qt::Key_B, Qt::Key_C, Qt::Key_D, Qt::Key_E, Qt::Key_F};
    for (int n = 1; n <= kPortCount; ++n) {
        const QByteArray name = "miCOM" + QByteArray::number(n);
        QAction* item = AddItem(ports, name.constData(), QStringLiteral("COM %1").arg(n),
                                QKeySequence(Qt::CTRL | kPortKeys[n - 1]), {}, nullptr);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item, n] {
            item->setChecked(!item->isChecked()); // ticks are the command's to set
            if (Reachable(item))
                PortCommand(port_, *this, n);
        });
        miCOM_[n] = item;
    }
    QMenu* rates = addMenu(miSetup_, "Baudrate1", QStringLiteral("Baudrate"));
    for (int rate : kBitRates) {
        const QByteArray name = "miBaud" + QByteArray::number(rate);
        QAction* item = AddItem(rates, name.constData(), QString::number(rate), {}, {}, nullptr);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item, rate] {
            item->setChecked(!item->isChecked());
            if (Reachable(item))
                RateCommand(port_, *this, rate);
        });
        miBaud_.insert(rate, item);
    }

    QMenu* view = addMenu(nullptr, "miView", QStringLiteral("View"));
    miGInfo_ = AddItem(view, "miGInfo", QStringLiteral("G-Info"), QKeySequence(Qt::CTRL | Qt::Key_G),
                       QStringLiteral("Show the general information"), &TfrmMain::miGInfoClick);
    miXInfo_ = AddItem(view, "miXInfo", QStringLiteral("X-Info"), QKeySequence(Qt::CTRL | Qt::Key_X),
                       QStringLiteral("Show the extended information"), &TfrmMain::miXInfoClick);
    miGInfo_->setEnabled(false);
    miXInfo_->setEnabled(false);
}

void TfrmMain::BuildGrids() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    sgGInfo_ = MakeGrid(area, "sgGInfo", &gModel_);
    sgXInfo_ = MakeGrid(area, "sgXInfo", &xModel_);
    sgGInfo_->verticalHeader()->resizeSection(0, 14);
    SetHint(sgXInfo_, kXInfoGridHint);
    layout->addWidget(sgGInfo_);
    layout->addWidget(sgXInfo_);
    setCentralWidget(area);
    gModel_.SetDecimalSeparator(DecimalSeparator());
    xModel_.SetDecimalSeparator(DecimalSeparator());
    connect(sgGInfo_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    sgGInfoSelectCell(current.column() + 1, current.row() + 1);
            });
    connect(sgXInfo_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    sgXInfoSelectCell(current.column() + 1, current.row() + 1);
            });
}

void TfrmMain::BuildAnalysisMenu() {
    miAnalysis_ = menuBar()->addMenu(QStringLiteral("&Analysis"));
    miAnalysis_->setObjectName(QStringLiteral("miAnalysis"));
    miAnalysis_->menuAction()->setObjectName(QStringLiteral("miAnalysis"));
    const EntrySelector select = [this](EntryRef entry) { return SelectEntry(entry); };
    AddMessageOverviewMenu(*this, *miAnalysis_, *readOut_, select);
#ifdef LEXORANT_WITH_CHART
    AddTemperatureChartMenu(*miAnalysis_, *readOut_, select, this);
#endif
    AddExportMenu(*miAnalysis_, *readOut_, [this] { return ShownGrid(); }, this);
    AddReportMenu(*miAnalysis_, *readOut_, this);
}

// The grids show what the read-out holds: all of an opened file, a read's entries as they come in.
void TfrmMain::FollowReadOut() {
    connect(readOut_, &ReadOutSignals::replaced, this, [this] {
        const ReadOut& readOut = readOut_->Document();
        if (readOut.Origin() == ReadOutOrigin::File && readOut.State() == ReadOutState::Complete) {
            gModel_.ShowAll(readOut.Store());
            xModel_.ShowAll(readOut.Store());
            return;
        }
        lexorant::InitInfoGrids(readOut.Store(), gModel_, xModel_);
        // A read starts with none in, a kept read-out opened with some.
        for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo})
            ShowArrivedEntries(block, 0, readOut.Extent(block));
    });
    connect(readOut_, &ReadOutSignals::entriesArrived, this, [this](InfoBlock block, qsizetype first, qsizetype count) {
        ShowArrivedEntries(block, static_cast<std::size_t>(first), static_cast<std::size_t>(count));
    });
}

void TfrmMain::ShowArrivedEntries(InfoBlock block, std::size_t first, std::size_t count) {
    const ReadOut& readOut = readOut_->Document();
    for (std::size_t i = first; i < first + count; ++i) {
        const EntryRef entry{block, static_cast<std::uint16_t>(i)};
        if (!readOut.Arrived(entry))
            continue;
        if (block == InfoBlock::GInfo)
            gModel_.ShowEntry(entry.index, SlotOf(readOut.Store(), entry));
        else
            xModel_.ShowEntry(entry.index, SlotOf(readOut.Store(), entry));
    }
}

// The progress of the whole read and the time it will still take, beside the status text, while a
// read runs.
void TfrmMain::BuildProgress() {
    readProgress_ = new QProgressBar(statusBar());
    readProgress_->setObjectName(QStringLiteral("readProgress"));
    readProgress_->setMaximumWidth(160);
    readProgress_->setTextVisible(false);
    timeLeft_ = new QLabel(statusBar());
    timeLeft_->setObjectName(QStringLiteral("timeLeft"));
    statusBar()->addPermanentWidget(timeLeft_);
    statusBar()->addPermanentWidget(readProgress_);
    const auto follow = [this] {
        const bool reading = readOut_->Document().State() == ReadOutState::Reading;
        readProgress_->setVisible(reading);
        timeLeft_->setVisible(reading);
        if (!reading)
            timeLeft_->clear();
    };
    connect(readOut_, &ReadOutSignals::replaced, this, follow);
    connect(readOut_, &ReadOutSignals::stateChanged, this, follow);
    follow();
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
    if (const std::string why = keeper_ ? keeper_->Error() : keepError_; !why.empty())
        text += (text.isEmpty() ? QString() : QStringLiteral("; ")) + QStringLiteral("not kept: ") +
                QString::fromStdString(why);
    timeLeft_->setText(text);
}

const RecordStore& TfrmMain::Store() const { return readOut_->Document().Store(); }

const InfoGridModel* TfrmMain::ShownGrid() const {
    if (!sgGInfo_->isHidden())
        return &gModel_;
    if (!sgXInfo_->isHidden())
        return &xModel_;
    return nullptr;
}

QString TfrmMain::SelectEntry(EntryRef entry) {
    const bool gInfo = entry.block == InfoBlock::GInfo;
    QTableView* grid = gInfo ? sgGInfo_ : sgXInfo_;
    SetGridVisible(grid, gInfo ? sgXInfo_ : sgGInfo_);
    const QModelIndex current = grid->selectionModel()->currentIndex();
    const int row = current.isValid() ? current.row() : std::min(kMessageRow, grid->model()->rowCount() - 1);
    const QModelIndex target = grid->model()->index(row, entry.index);
    // A grid's first cell is current from its fill on without having been selected; making it current
    // again changes nothing, so it is selected as a click would select it.
    const bool wasCurrent = current == target;
    grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    if (wasCurrent && gInfo)
        sgGInfoSelectCell(target.column() + 1, target.row() + 1);
    else if (wasCurrent)
        sgXInfoSelectCell(target.column() + 1, target.row() + 1);
    grid->scrollTo(target);
    return HintOf(grid);
}

bool TfrmMain::Reachable(const QAction* action) const {
    for (const QAction* a = action; a; ) {
        if (!a->isEnabled())
            return false;
        const QMenu* menu = parentMenu_.value(a, nullptr);
        a = menu ? menu->menuAction() : nullptr;
    }
    return true;
}

bool TfrmMain::ReadRunning() const { return thread_ && !thread_->Finished(); }

void TfrmMain::ShowHint(const QString& hint) { statusBar()->showMessage(hint); }

bool TfrmMain::event(QEvent* event) {
    // Hints reach the status bar only through the hint router.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

// ---- Commands -------------------------------------------------------------------------------

void TfrmMain::miReadClick() {
    // A read typed ahead while the previous one was being identified must not start a second one.
    if (ReadRunning())
        return;
    if (std::exchange(reopenBeforeRead_, false))
        port_.Reopen(); // still gone: the identification below says so
    // The box shows the text alone; why the line failed goes to the trace.
    Identification identification(port_);
    const auto serial = identification.SerialNumber();
    if (!serial) {
        ShowErrorBox(this, QString::fromLatin1(identification.FailureText().c_str()));
        return;
    }
    QString fileName;
    if (!ChooseInfoFileName(*serial, fileName))
        return;
    setWindowTitle(FileCaption(fileName));
    const auto headers = identification.Headers();
    if (!headers) {
        ShowErrorBox(this, QString::fromLatin1(identification.FailureText().c_str()));
        return;
    }
    // The previous read is over: what it kept stays on disk, and a kept read-out of this unit may be
    // continued now.
    keeper_.reset();
    keptIn_.reset();
    ReadStart start = ChooseReadStart(port_, *serial, *headers, [this](const KeptReadOut& kept) {
        return AskQuestion(this, ContinueQuestion(kept));
    });
    if (start.from == KeptStart::Unchecked) {
        ShowErrorBox(this, QString::fromStdString(KeptCheckFailedText(start.check)));
        return;
    }
    readEndedEarly_ = false;
    RecordStore store;
    if (start.kept) {
        store = std::move(start.kept->store);
        keptIn_ = std::move(start.kept->in);
    } else {
        store.Replace(headers->g, headers->x);
    }
    readOut_->Document().StartRead(std::move(store), *serial, fileName.toStdString(), port_.PortName());
    keeper_ = std::move(start.keeper);
    keepError_ = std::move(start.keepError);
    SetGridVisible(sgGInfo_, sgXInfo_);
    LockMenus(); // at once, so that nothing queued behind this command can reach the store
    thread_.reset();
    ReadSteps& steps = *this;
    const ComThreadKept kept{keeper_.get(), keptIn_ ? &*keptIn_ : nullptr, AwakeReason(*serial)};
    thread_ = std::make_unique<ComThread>(
        steps, port_, readOut_->Document().StoreToFill(), [this](const RecordStore& s) { return WriteReadOut(s); }, this,
        kept);
    thread_->start();
}

void TfrmMain::SetTrace(std::shared_ptr<WireTrace> trace) { port_.SetTrace(std::move(trace)); }

WrittenFile TfrmMain::WriteReadOut(const RecordStore& store) { return writeFile_(store); }

bool TfrmMain::ChooseInfoFileName(const std::string& serial, QString& fileName) {
    const QStringList arguments = QCoreApplication::arguments();
    std::vector<std::string> args;
    for (const QString& a : arguments)
        args.push_back(a.toStdString());
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    if (IsAutosaveSwitch(static_cast<int>(argv.size()), argv.data())) {
        // The number is claimed only when the file is written; the caption follows if it changes.
        const int number = FirstFreeAutosaveNumber(serial);
        saveFileName_ = QString::fromStdString(AutosaveCandidate(serial, number));
        writeFile_ = AutosaveInfoFileWriter(serial, number);
        fileName = saveFileName_;
        return true;
    }
    saveDialog_->selectFile(QString::fromStdString(ProposedFileName(serial)));
    if (saveDialog_->exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty())
        return false;
    saveFileName_ = saveDialog_->selectedFiles().front();
    writeFile_ = InfoFileWriter(saveFileName_.toStdString());
    fileName = saveFileName_;
    return true;
}

void TfrmMain::miOpenClick() {
    if (ReadRunning())
        return;
    if (openDialog_->exec() != QDialog::Accepted || openDialog_->selectedFiles().isEmpty())
        return;
    LoadInfoFile(openDialog_->selectedFiles().front());
}

int TfrmMain::LoadInfoFile(const QString& fileName) {
    auto loaded = LoadReadOut(fileName.toStdString());
    if (!loaded)
        return 1;
    // A kept read-out of a read that stopped is never shown as a complete one.
    setWindowTitle(loaded->partial ? PartialCaption(fileName) : FileCaption(fileName));
    readOut_->Document().Open(std::move(*loaded));
    SetGridVisible(sgGInfo_, sgXInfo_);
    miGInfo_->setEnabled(true);
    miXInfo_->setEnabled(true);
    return 0;
}

void TfrmMain::FileExit() { close(); }

void TfrmMain::SetGridVisible(QTableView* shown, QTableView* hidden) {
    hidden->hide();
    shown->show();
}

void TfrmMain::miGInfoClick() { SetGridVisible(sgGInfo_, sgXInfo_); }
void TfrmMain::miXInfoClick() { SetGridVisible(sgXInfo_, sgGInfo_); }

void TfrmMain::SelectCell(QTableView* grid, InfoGridModel& model, int col) {
    SetHint(grid, QString::fromLatin1(kMessageTextMissing));
    const QString code = model.Cell(col, 4);
    try {
        const std::string separator = QString(model.DecimalSeparator()).toStdString();
        SetHint(grid, QString::fromStdString(FindMessageText(code.toStdString(), separator)));
    } catch (const std::exception& e) {
        ShowStopBox(this, QString::fromStdString(e.what()));
    }
}

void TfrmMain::sgGInfoSelectCell(int col, int) { SelectCell(sgGInfo_, gModel_, col); }
void TfrmMain::sgXInfoSelectCell(int col, int) { SelectCell(sgXInfo_, xModel_, col); }

// ---- Quit -----------------------------------------------------------------------------------

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (ReadRunning()) {
        if (!AskYesNo(this, kQuitQuestion)) {
            event->ignore();
            return;
        }
    }
    // The read may have ended while the question was open; stopping a finished thread is harmless.
    if (thread_)
        StopReading();
    port_.ClosePort();
    event->accept();
}

void TfrmMain::StopReading() {
    quitting_ = true;
    thread_->RequestStop();
    // A close that reaches the window from inside an entry's error box (a close not blocked by
    // the box, such as the session ending) cannot wait here: the thread waits for that very box.
    // It ends once the box is gone, and the destructor waits for it then.
    if (showingEntryError_)
        return;
    // Hand-offs already queued must run (without effect) or the thread would wait for them forever.
    while (!thread_->wait(QDeadlineTimer(5)))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- Port menu ------------------------------------------------------------------------------

void TfrmMain::SetPortEnabled(int port, bool enabled) { miCOM_[static_cast<std::size_t>(port)]->setEnabled(enabled); }
bool TfrmMain::IsPortEnabled(int port) const { return miCOM_[static_cast<std::size_t>(port)]->isEnabled(); }
void TfrmMain::SetPortChecked(int port, bool checked) { miCOM_[static_cast<std::size_t>(port)]->setChecked(checked); }
void TfrmMain::SetRateChecked(int rate, bool checked) {
    if (QAction* item = miBaud_.value(rate, nullptr))
        item->setChecked(checked);
}

// ---- Hand-offs of the reading thread --------------------------------------------------------

void TfrmMain::LockMenus() {
    if (quitting_)
        return;
    miSetup_->menuAction()->setEnabled(false);
    miRead_->setEnabled(false);
    miOpen_->setEnabled(false);
}

void TfrmMain::UnlockMenus() {
    if (quitting_)
        return;
    miSetup_->menuAction()->setEnabled(true);
    miRead_->setEnabled(true);
    miOpen_->setEnabled(true);
    readOut_->Document().EndRead(readEndedEarly_ ? ReadOutState::Stopped : ReadOutState::Complete);
}

void TfrmMain::InitInfoGrids() {
    if (quitting_)
        return;
    lexorant::InitInfoGrids(Store(), gModel_, xModel_);
    SetGridVisible(sgGInfo_, sgXInfo_);
    estimate_.emplace(Store().GInfo.EntryCount + Store().XInfo.EntryCount);
    ShowProgress();
}

// One hand-off for all of them: a continued read may bring tens of thousands.
void TfrmMain::ShowKeptEntries(const EntrySet& in) {
    if (quitting_)
        return;
    if (in.Count(InfoBlock::GInfo) > 0)
        miGInfo_->setEnabled(true);
    if (in.Count(InfoBlock::XInfo) > 0)
        miXInfo_->setEnabled(true);
    readOut_->Document().EntriesKept(in);
    if (estimate_)
        estimate_->Kept(static_cast<int>(in.Count()));
    ShowProgress();
}

AfterLoss TfrmMain::LineLost(const LineLoss& loss) {
    if (quitting_)
        return AfterLoss::Stop;
    showingEntryError_ = true; // the reading thread waits for the answer, as for an entry's error box
    const bool retry = AskRetry(this, QString::fromStdString(LineLostText(loss)));
    showingEntryError_ = false;
    if (quitting_) // closed from inside the box
        return AfterLoss::Stop;
    if (retry)
        return AfterLoss::Retry;
    // Nothing is written under the file's name; the entries read so far are kept.
    readEndedEarly_ = true;
    reopenBeforeRead_ = true;
    setWindowTitle(PartialCaption(saveFileName_));
    return AfterLoss::Stop;
}

void TfrmMain::ShowStatus(const std::string& text) {
    if (!quitting_)
        statusBar()->showMessage(QString::fromStdString(text));
}

void TfrmMain::ShowGInfoEntry(int index) {
    if (quitting_)
        return;
    miGInfo_->setEnabled(true);
    readOut_->Document().EntryArrived(EntryRef{InfoBlock::GInfo, static_cast<std::uint16_t>(index)});
    EntryAsked();
}

void TfrmMain::ShowXInfoEntry(int index) {
    if (quitting_)
        return;
    miXInfo_->setEnabled(true);
    readOut_->Document().EntryArrived(EntryRef{InfoBlock::XInfo, static_cast<std::uint16_t>(index)});
    EntryAsked();
}

void TfrmMain::ShowFileName(const std::string& fileName) {
    if (quitting_)
        return;
    saveFileName_ = QString::fromStdString(fileName);
    setWindowTitle(FileCaption(saveFileName_));
    readOut_->Document().Rename(fileName);
}

void TfrmMain::ShowUnexpectedError(const std::string& text) {
    readEndedEarly_ = true;
    if (!quitting_)
        ShowStopBox(this, QString::fromStdString(text));
}

void TfrmMain::ShowError(const std::string& text) {
    if (quitting_)
        return;
    EntryAsked(); // an entry that failed (or, at the very end, the file)
    showingEntryError_ = true;
    ShowErrorBox(this, QString::fromStdString(text));
    showingEntryError_ = false;
}

} // namespace lexorant
