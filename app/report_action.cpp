#include "app/report_action.h"

#include "app/analysis_menu.h"
#include "app/message_boxes.h"
#include "app/save_dialog.h"
#include "report/service_report.h"
#include "app/shown_file_name.h"
#include "app/tfrm_main.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>

namespace lexorant {

namespace {

class ReportMenu : public QObject {
public:
    explicit ReportMenu(TfrmMain& window) : QObject(&window), window_(window) {
        QMenu* analysis = &AnalysisMenu(window);
        item_ = analysis->addAction(QStringLiteral("&Report..."));
        item_->setObjectName(QStringLiteral("miReport"));
        item_->setStatusTip(QStringLiteral("Write a service report of the read-out as PDF"));
        item_->setEnabled(false);
        connect(analysis, &QMenu::aboutToShow, this, [this] { item_->setEnabled(Loaded()); });
        connect(item_, &QAction::triggered, this, [this] { Report(); });
        // The caption names the read-out the store holds only once the grids were filled anew after
        // it changed: a read whose block headers fail leaves the caption named and the old entries.
        connect(&window, &QWidget::windowTitleChanged, this, [this] {
            if (!window_.ReadRunning())
                filled_ = false;
        });
        connect(&window.GInfoModel(), &QAbstractItemModel::modelReset, this, [this] { filled_ = true; });
    }

private:
    bool Loaded() const { return filled_ && !window_.ReadRunning() && !ShownFileName(window_).isEmpty(); }

    void Report() {
        if (!Loaded())
            return;
        const QString readOut = ShownFileName(window_);
        QFileDialog dialog(&window_, QStringLiteral("Report"));
        SetUpSaveDialog(dialog, QStringLiteral("ReportDialog"),
                        {{QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf")}});
        StartBesideReadOut(dialog, readOut);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || !Loaded())
            return;
        const QString name = dialog.selectedFiles().front();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const std::string error = WriteServiceReport(window_.Store(), readOut.toStdString(), name.toStdString());
        QApplication::restoreOverrideCursor();
        if (!error.empty())
            ShowErrorBox(&window_, QStringLiteral("Unable to write file ") + name);
    }

    TfrmMain& window_;
    QAction* item_ = nullptr;
    bool filled_ = false;
};

} // namespace

void AddReportMenu(TfrmMain& window) {
    new ReportMenu(window);
}

} // namespace lexorant
