#pragma once
// The main window: menus, the two grids, the status bar, and the read, open and quit commands.
#include "records/info_grids.h"
#include "link/port_commands.h"
#include "link/read_estimate.h"
#include "link/read_loop.h"
#include "readout/entry_ref.h"
#include "readout/entry_set.h"
#include "readout/record_store.h"
#include "link/serial_port.h"

#include <QHash>
#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QTableView;

namespace lexorant {

class ComThread;
class KeptReadOutWriter;
class HintRouter;
class ReadOutSignals;
class WireTrace;

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
    // Shows the entry in its grid as a click on its cell would; gives back the message it shows.
    QString SelectEntry(EntryRef entry);
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
    void BuildProgress();
    // One more entry asked, good or failed: the progress moves on.
    void EntryAsked();
    void ShowProgress();
    // Shows those of the entries first to first + count - 1 that are in the read-out.
    void ShowArrivedEntries(InfoBlock block, std::size_t first, std::size_t count);
    void FollowReadOut();
    const InfoGridModel* ShownGrid() const;
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                     const QString& hint, void (TfrmMain::*handler)());
    // A shortcut acts only while its item and every menu above it are enabled.
    bool Reachable(const QAction* action) const;
    bool ChooseInfoFileName(const std::string& serial, QString& fileName);
    void SelectCell(QTableView* grid, InfoGridModel& model, int col);
    void SetGridVisible(QTableView* shown, QTableView* hidden);
    void StopReading();

    // PortMenu: the port and rate items.
    void SetPortEnabled(int port, bool enabled) override;
    bool IsPortEnabled(int port) const override;
    void SetPortChecked(int port, bool checked) override;
    void SetRateChecked(int rate, bool checked) override;

    // ReadSteps: the reading thread's hand-offs, run here on the window thread.
    void LockMenus() override;
    void InitInfoGrids() override;
    void ShowStatus(const std::string& text) override;
    void ShowGInfoEntry(int index) override;
    void ShowXInfoEntry(int index) override;
    void ShowError(const std::string& text) override;
    void UnlockMenus() override;
    void ShowFileName(const std::string& fileName) override;
    void ShowUnexpectedError(const std::string& text) override;
    AfterLoss LineLost(const LineLoss& loss) override;
    void ShowKeptEntries(const EntrySet& in) override;

    SerialPort port_;
    ReadOutSignals* readOut_ = nullptr; // the first child, so that every view can follow it
    GInfoGridModel gModel_;
    XInfoGridModel xModel_;
    QString saveFileName_;
    FileWriter writeFile_; // settled with the file name, run by the reading thread
    // Where the current read keeps its entries and what it continues; both outlive its thread.
    std::unique_ptr<KeptReadOutWriter> keeper_;
    std::string keepError_; // why this read keeps nothing (no keeper at all)
    std::optional<EntrySet> keptIn_;
    std::unique_ptr<ComThread> thread_;
    std::optional<ReadEstimate> estimate_;
    bool quitting_ = false;
    // True while the error box of a failed entry is open: the reading thread waits for it.
    bool showingEntryError_ = false;
    // The read ended early: an error no step expected, or the line lost and the read given up.
    bool readEndedEarly_ = false;
    // The last read stopped because the line was lost: the port is as the loss left it (hung up, or
    // its device gone and back), so the next read opens it again by its name, as Wiederholen does.
    bool reopenBeforeRead_ = false;

    HintRouter* hints_ = nullptr;
    QTableView* sgGInfo_ = nullptr;
    QTableView* sgXInfo_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
    QFileDialog* openDialog_ = nullptr;
    QProgressBar* readProgress_ = nullptr;
    QLabel* timeLeft_ = nullptr;
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
