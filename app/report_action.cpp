#include "app/report_action.h"

#include "app/analysis_item.h"
#include "app/message_boxes.h"
#include "app/read_out_signals.h"
#include "app/save_dialog.h"
#include "report/service_report.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>

namespace lexorant {

namespace {

class ReportMenu : public QObject {
public:
    ReportMenu(QMenu& analysis, ReadOutSignals& readOut, QWidget* parent)
        : QObject(parent), readOut_(readOut), parent_(parent) {
        item_ = AddAnalysisItem(analysis, "miReport", QStringLiteral("&Report..."),
                                QStringLiteral("Write a service report of the read-out as PDF"));
        connect(&analysis, &QMenu::aboutToShow, this, [this] { item_->setEnabled(Loaded()); });
        connect(item_, &QAction::triggered, this, [this] { Report(); });
    }

private:
    bool Loaded() const {
        const ReadOut& readOut = readOut_.Document();
        return readOut.Settled() && !readOut.Name().empty();
    }

    void Report() {
        if (!Loaded())
            return;
        const std::string readOut = readOut_.Document().Name();
        QFileDialog dialog(parent_, QStringLiteral("Report"));
        SetUpSaveDialog(dialog, QStringLiteral("ReportDialog"),
                        {{QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf")}});
        StartBesideReadOut(dialog, QString::fromStdString(readOut));
        // The read-out may have been replaced while the dialog was open.
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || !Loaded() ||
            readOut_.Document().Name() != readOut)
            return;
        const QString name = dialog.selectedFiles().front();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // A read that stopped says so in the report, and the entries it never read are no data there.
        const std::string error = WriteServiceReport(readOut_.Document().Data(), name.toStdString());
        QApplication::restoreOverrideCursor();
        if (!error.empty())
            ShowErrorBox(parent_, QString::fromStdString(error));
    }

    ReadOutSignals& readOut_;
    QWidget* parent_;
    QAction* item_ = nullptr;
};

} // namespace

void AddReportMenu(QMenu& analysis, ReadOutSignals& readOut, QWidget* parent) {
    new ReportMenu(analysis, readOut, parent);
}

} // namespace lexorant
