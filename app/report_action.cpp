#include "app/report_action.h"

#include "app/analysis_item.h"
#include "app/message_boxes.h"
#include "app/read_out_signals.h"
#include "app/save_dialog.h"
#include "app/shown_comparison.h"
#include "report/service_report.h"
#include "report/since_section.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>

namespace lexorant {

namespace {

class ReportMenu : public QObject {
public:
    ReportMenu(QMenu& analysis, ReadOutSignals& readOut, const ShownComparison& comparison, QWidget* parent)
        : QObject(parent), readOut_(readOut), comparison_(comparison), parent_(parent) {
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
        // While the read-out is compared with an earlier one, the report says what changed since.
        std::optional<ReportSince> since;
        if (comparison_.Active())
            since =
                BuildSinceSection(comparison_.Comparison(), comparison_.Older(), readOut_.Document().Store());
        const std::string error =
            WriteServiceReport(readOut_.Document().Data(), name.toStdString(), since ? &*since : nullptr);
        QApplication::restoreOverrideCursor();
        if (!error.empty())
            ShowErrorBox(parent_, QString::fromStdString(error));
    }

    ReadOutSignals& readOut_;
    const ShownComparison& comparison_;
    QWidget* parent_;
    QAction* item_ = nullptr;
};

} // namespace

void AddReportMenu(QMenu& analysis, ReadOutSignals& readOut, const ShownComparison& comparison,
                   QWidget* parent) {
    new ReportMenu(analysis, readOut, comparison, parent);
}

} // namespace lexorant
