#include "app/tfrm_main.h"

#include "app/app_icon.h"
#include "app/app_texts.h"
#include "app/com_thread.h"
#include "app/compare_action.h"
#include "app/export_action.h"
#include "app/hint_router.h"
#include "app/message_boxes.h"
#include "app/message_overview_panel.h"
#include "app/read_out_signals.h"
#include "app/report_action.h"
#include "app/shown_comparison.h"
#include "app/window_parts.h"
#include "catalogue/find_message_text.h"
#include "file/file_naming.h"
#include "file/read_out_file.h"
#include "platform/decimal_separator.h"
#include "records/entry_message.h"
#include "session/read_session.h"
#ifdef LEXORANT_WITH_CHART
#include "app/temperature_chart_menu.h"
#endif

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QCloseEvent>
#include <QColor>
#include <QFileDialog>
#include <QHeaderView>
#include <QFont>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace lexorant {

namespace {

// The grids take the user's separator as one character; it is never empty.
QChar DecimalSeparator() {
    return QString::fromStdString(UserDecimalSeparator()).front();
}

// The switch as the program was started with it: any case, any position.
bool StartedWithAutosave() {
    std::vector<std::string> args;
    for (const QString& a : QCoreApplication::arguments())
        args.push_back(a.toStdString());
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    return IsAutosaveSwitch(static_cast<int>(argv.size()), argv.data());
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent), autosave_(StartedWithAutosave()) {
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
    saveDialog_ = MakeInfoFileDialog(this, "SaveDialog", QFileDialog::AcceptSave);
    openDialog_ = MakeInfoFileDialog(this, "OpenDialog", QFileDialog::AcceptOpen);

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

QAction* TfrmMain::AddItem(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut, const QString& hint, void (TfrmMain::*handler)()) {
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
    sgGInfo_ = MakeInfoGrid(area, "sgGInfo", &gModel_);
    sgXInfo_ = MakeInfoGrid(area, "sgXInfo", &xModel_);
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
    const EntrySelector select = [this](EntryRef entry) { SelectEntry(entry); };
    comparison_ = new ShownComparison(*readOut_, this);
    AddMessageOverviewMenu(*this, *miAnalysis_, *readOut_, select, *comparison_);
#ifdef LEXORANT_WITH_CHART
    AddTemperatureChartMenu(*miAnalysis_, *readOut_, select, this);
#endif
    AddCompareMenu(*miAnalysis_, *readOut_, *comparison_, this, [this] {
        if (auto* messages = miAnalysis_->findChild<QAction*>(QStringLiteral("miMessages")))
            messages->trigger(); // the overview is where the comparison shows
    });
    AddExportMenu(
        *miAnalysis_, *readOut_, [this] { return ShownGrid(); }, this);
    AddReportMenu(*miAnalysis_, *readOut_, *comparison_, this);
    MarkNewEntries();
}

// The headings of the entries that are new since the earlier read-out compared with: bold, on a
// background of their own; no cell text changes.
void TfrmMain::MarkNewEntries() {
    const auto mark = [this](InfoBlock block) {
        return [this, block](int entry, int role) -> QVariant {
            if (entry < 0 || !comparison_->IsNew(EntryRef{block, static_cast<std::uint16_t>(entry)}))
                return {};
            if (role == Qt::BackgroundRole)
                return QBrush(QColor(0xFF, 0xE0, 0x80));
            if (role == Qt::FontRole) {
                QFont bold = font();
                bold.setBold(true);
                return bold;
            }
            return {};
        };
    };
    gModel_.SetHeadingDecoration(mark(InfoBlock::GInfo));
    xModel_.SetHeadingDecoration(mark(InfoBlock::XInfo));
    connect(comparison_, &ShownComparison::changed, this, [this] {
        gModel_.HeadingsChanged(0, gModel_.EntryColumnCount() - 1);
        xModel_.HeadingsChanged(0, xModel_.EntryColumnCount() - 1);
    });
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
    connect(readOut_, &ReadOutSignals::entriesArrived, this,
            [this](InfoBlock block, qsizetype first, qsizetype count) {
                ShowArrivedEntries(block, static_cast<std::size_t>(first), static_cast<std::size_t>(count));
                EnableCommands();
            });
    for (const auto change :
         {&ReadOutSignals::replaced, &ReadOutSignals::stateChanged, &ReadOutSignals::renamed})
        connect(readOut_, change, this, [this] {
            ShowCaption();
            EnableCommands();
        });
}

// The start caption, then the name of the read-out (" (partial)" after it while only some of its
// entries are in); a read shows the name it chose from then on, even when it ends before it begins.
void TfrmMain::ShowCaption() {
    const ReadOut& readOut = readOut_->Document();
    if (namedRead_)
        setWindowTitle(FileCaption(*namedRead_));
    else if (readOut.State() == ReadOutState::Empty)
        setWindowTitle(kStartCaption);
    else if (readOut.State() == ReadOutState::Stopped)
        setWindowTitle(FileCaption(QString::fromStdString(readOut.Name())) + QStringLiteral(" (partial)"));
    else
        setWindowTitle(FileCaption(QString::fromStdString(readOut.Name())));
}

// While a read runs, nothing may replace the port, the store or the file name under it. A View item
// is enabled once its block has an entry in (an opened file: both) and never disabled again.
void TfrmMain::EnableCommands() {
    const ReadOut& readOut = readOut_->Document();
    if (!quitting_) {
        const bool free = readOut.State() != ReadOutState::Reading;
        miSetup_->menuAction()->setEnabled(free);
        miRead_->setEnabled(free);
        miOpen_->setEnabled(free);
    }
    const bool opened = readOut.Origin() == ReadOutOrigin::File;
    if (opened || readOut.Extent(InfoBlock::GInfo) > 0)
        miGInfo_->setEnabled(true);
    if (opened || readOut.Extent(InfoBlock::XInfo) > 0)
        miXInfo_->setEnabled(true);
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
    // Stays until the next read: the technician may look only once the read is done.
    readNote_ = new QLabel(statusBar());
    readNote_->setObjectName(QStringLiteral("readNote"));
    statusBar()->addPermanentWidget(readNote_);
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

const RecordStore& TfrmMain::Store() const {
    return readOut_->Document().Store();
}

const InfoGridModel* TfrmMain::ShownGrid() const {
    if (!sgGInfo_->isHidden())
        return &gModel_;
    if (!sgXInfo_->isHidden())
        return &xModel_;
    return nullptr;
}

void TfrmMain::SelectEntry(EntryRef entry) {
    const bool gInfo = entry.block == InfoBlock::GInfo;
    QTableView* grid = gInfo ? sgGInfo_ : sgXInfo_;
    SetGridVisible(grid, gInfo ? sgXInfo_ : sgGInfo_);
    const QModelIndex current = grid->selectionModel()->currentIndex();
    const int row =
        current.isValid() ? current.row() : std::min(kMessageRow - 1, grid->model()->rowCount() - 1);
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
}

bool TfrmMain::Reachable(const QAction* action) const {
    for (const QAction* a = action; a;) {
        if (!a->isEnabled())
            return false;
        const QMenu* menu = parentMenu_.value(a, nullptr);
        a = menu ? menu->menuAction() : nullptr;
    }
    return true;
}

bool TfrmMain::ReadRunning() const {
    return thread_ && !thread_->Finished();
}

void TfrmMain::ShowHint(const QString& hint) {
    statusBar()->showMessage(hint);
}

bool TfrmMain::event(QEvent* event) {
    // Hints reach the status bar only through the hint router.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

// ---- Commands -------------------------------------------------------------------------------

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
    namedRead_.reset();
    readOut_->Document().Open(std::move(*loaded)); // a kept read-out of a read that stopped stays partial
    SetGridVisible(sgGInfo_, sgXInfo_);
    return 0;
}

void TfrmMain::FileExit() {
    close();
}

void TfrmMain::SetGridVisible(QTableView* shown, QTableView* hidden) {
    hidden->hide();
    shown->show();
}

void TfrmMain::miGInfoClick() {
    SetGridVisible(sgGInfo_, sgXInfo_);
}
void TfrmMain::miXInfoClick() {
    SetGridVisible(sgXInfo_, sgGInfo_);
}

// The text of the message in row 4 of the column, as the read-out gives it for that entry.
void TfrmMain::SelectCell(QTableView* grid, InfoBlock block, int col) {
    SetHint(grid, QString::fromLatin1(kMessageTextMissing));
    try {
        const EntryRef entry{block, static_cast<std::uint16_t>(std::max(col - 1, 0))};
        SetHint(grid, QString::fromStdString(
                          MessageTextOfEntry(readOut_->Document().Data(), entry, UserDecimalSeparator())));
    } catch (const std::exception& e) {
        ShowStopBox(this, QString::fromStdString(e.what()));
    }
}

void TfrmMain::sgGInfoSelectCell(int col, int) {
    SelectCell(sgGInfo_, InfoBlock::GInfo, col);
}
void TfrmMain::sgXInfoSelectCell(int col, int) {
    SelectCell(sgXInfo_, InfoBlock::XInfo, col);
}

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

void TfrmMain::SetPortEnabled(int port, bool enabled) {
    miCOM_[static_cast<std::size_t>(port)]->setEnabled(enabled);
}
void TfrmMain::SetPortChecked(int port, bool checked) {
    miCOM_[static_cast<std::size_t>(port)]->setChecked(checked);
}
void TfrmMain::SetRateChecked(int rate, bool checked) {
    if (QAction* item = miBaud_.value(rate, nullptr))
        item->setChecked(checked);
}

} // namespace lexorant
