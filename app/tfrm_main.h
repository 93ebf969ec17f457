#pragma once
// The main window: menus, the two grids, the status bar, and the read, open and quit commands.
#include "app/read_steps.h"
#include "link/port_commands.h"
#include "link/read_estimate.h"
#include "link/serial_port.h"
#include "readout/entry_ref.h"
#include "readout/record_store.h"
#include "readout/written_file.h"
#include "records/info_grids.h"

#include <QHash>
#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QTableView;

namespace lexorant {

class ComThread;
class HintRouter;
class ReadOutSignals;
class ReadSession;
class ShownComparison;
class WireTrace;
struct ReadTarget;

class TfrmMain : public QMainWindow, private PortMenu, private ReadSteps {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    void miReadClick();
    void miOpenClick();
    void FileExit();
    void miGInfoClick();
    void miXInfoClick();
    void sgGInfoSelectCell(int col, int row);
    void sgXInfoSelectCell(int col, int row);
    void ShowHint(const QString& hint);
    // Traces every later exchange on the serial line.
    void SetTrace(std::shared_ptr<WireTrace> trace);
    // 0 when the file was opened and loaded, 1 when it cannot be opened.
    int LoadInfoFile(const QString& fileName);

    // The read-out every view of the window follows.
    ReadOutSignals& ReadOutShown() { return *readOut_; }
    const RecordStore& Store() const;
    // Shows the entry in its grid as a click on its cell would.
    void SelectEntry(EntryRef entry);
    GInfoGridModel& GInfoModel() { return gModel_; }
    XInfoGridModel& XInfoModel() { return xModel_; }
    ComThread* CurrentThread() const { return thread_.get(); }
    bool ReadRunning() const;

protected:
    void closeEvent(QCloseEvent* event) override; // the one quit path
    bool event(QEvent* event) override;
    // Runs on the reading thread at the end of a read: writes the file that the read command named.
    virtual WrittenFile WriteReadOut(const RecordStore& store);

private:
    void FormCreate();
    void BuildMenus();
    void BuildGrids();
    void BuildAnalysisMenu();
    void MarkNewEntries();
    void BuildProgress();
    // The caption, the commands' enabled state and the grids follow the read-out, each set in one place.
    void FollowReadOut();
    void ShowCaption();
    void EnableCommands();
    // Shows those of the entries first to first + count - 1 that are in the read-out.
    void ShowArrivedEntries(InfoBlock block, std::size_t first, std::size_t count);
    // One more entry asked, good or failed: the progress moves on.
    void EntryAsked();
    void ShowProgress();
    const InfoGridModel* ShownGrid() const;
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                     const QString& hint, void (TfrmMain::*handler)());
    // A shortcut acts only while its item and every menu above it are enabled.
    bool Reachable(const QAction* action) const;
    // The file of a read of unit `serial`: the autosave name, or the one the save dialog gives.
    std::optional<ReadTarget> ChooseTarget(const std::string& serial);
    void SelectCell(QTableView* grid, InfoBlock block, int col);
    void SetGridVisible(QTableView* shown, QTableView* hidden);
    void StopReading();

    // PortMenu: the port and rate items.
    void SetPortEnabled(int port, bool enabled) override;
    void SetPortChecked(int port, bool checked) override;
    void SetRateChecked(int rate, bool checked) override;

    // ReadSteps: the reading thread's hand-offs, run here on the window thread.
    void LockMenus() override;
    void InitInfoGrids() override;
    void ShowKeptEntries(const EntrySet& in) override;
    void ShowStatus(const std::string& text) override;
    void ShowGInfoEntry(int index) override;
    void ShowXInfoEntry(int index) override;
    void ShowError(const std::string& text) override;
    AfterLoss LineLost(const LineLoss& loss) override;
    void ShowFileName(const std::string& fileName) override;
    void ShowUnexpectedError(const std::string& text) override;
    void UnlockMenus(ReadOutState end) override;

    SerialPort port_;
    ReadOutSignals* readOut_ = nullptr; // the first child, so that every view can follow it
    GInfoGridModel gModel_;
    XInfoGridModel xModel_;
    const bool autosave_; // the switch among the program's arguments, read once
    // The name a read has chosen before its read-out starts (the caption shows it from then on).
    std::optional<QString> namedRead_;
    FileWriter writeFile_; // the chosen file's writer, run by the reading thread through WriteReadOut
    // The current or last read; it holds where the read keeps its entries and outlives its thread.
    std::unique_ptr<ReadSession> session_;
    std::unique_ptr<ComThread> thread_;
    std::optional<ReadEstimate> estimate_;
    bool quitting_ = false;
    // True while the error box of a failed entry is open: the reading thread waits for it.
    bool showingEntryError_ = false;

    HintRouter* hints_ = nullptr;
    ShownComparison* comparison_ = nullptr;
    QTableView* sgGInfo_ = nullptr;
    QTableView* sgXInfo_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
    QFileDialog* openDialog_ = nullptr;
    QProgressBar* readProgress_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QLabel* readNote_ = nullptr; // why a kept read-out of the unit was not continued
    QMenu* miSetup_ = nullptr;
    QMenu* miAnalysis_ = nullptr;
    QAction* miRead_ = nullptr;
    QAction* miOpen_ = nullptr;
    QAction* miGInfo_ = nullptr;
    QAction* miXInfo_ = nullptr;
    std::array<QAction*, kPortCount + 1> miCOM_{};
    QHash<int, QAction*> miBaud_;
    QHash<const QAction*, QMenu*> parentMenu_;
};

} // namespace lexorant
