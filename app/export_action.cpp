#include "app/export_action.h"

#include "app/analysis_item.h"
#include "app/message_boxes.h"
#include "app/read_out_signals.h"
#include "app/save_dialog.h"
#include "file/replace_file.h"
#include "file/write_failure.h"
#include "platform/dos_devices.h"
#include "records/entry_table.h"
#include "records/info_grid_model.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>

#include <filesystem>
#include <string>
#include <vector>

namespace lexorant {

namespace {

const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
const QString kTsvFilter = QStringLiteral("Tab-separated text (*.tsv)");

class ExportMenu : public QObject {
public:
    ExportMenu(QMenu& analysis, ReadOutSignals& readOut, ShownGrid shownGrid, QWidget* parent)
        : QObject(parent), readOut_(readOut), shownGrid_(std::move(shownGrid)), parent_(parent) {
        item_ = AddAnalysisItem(analysis, "miExport", QStringLiteral("&Export..."),
                                QStringLiteral("Write the shown grid to a file"));
        connect(&analysis, &QMenu::aboutToShow, this, [this] { item_->setEnabled(shownGrid_() != nullptr); });
        connect(item_, &QAction::triggered, this, [this] { Export(); });
    }

private:
    void Export() {
        const InfoGridModel* model = shownGrid_();
        if (!model || !model->Layout())
            return;
        QFileDialog dialog(parent_, QStringLiteral("Export"));
        SetUpSaveDialog(dialog, QStringLiteral("ExportDialog"),
                        {{kCsvFilter, QStringLiteral("csv")}, {kTsvFilter, QStringLiteral("tsv")}});
        StartBesideReadOut(dialog, QString::fromStdString(readOut_.Document().Name()));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString name = dialog.selectedFiles().front();
        const bool tsv = name.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive) ||
                         (!name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) &&
                          dialog.selectedNameFilter() == kTsvFilter);

        std::vector<const std::uint8_t*> entries;
        for (int i = 0; i < model->EntryColumnCount(); ++i)
            entries.push_back(model->ShownSlot(i));
        // A grid that nothing was shown in yet still has its one empty column: no entry to write.
        if (entries.size() == 1 && entries.front() == nullptr)
            entries.clear();
        const std::string text =
            FormatEntryTable(*model->Layout(), entries, tsv ? TableFormat::Tsv : TableFormat::Csv,
                             QString(model->DecimalSeparator()).toStdString());
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto path = ResolveWindowsPath(name.toStdString());
        if (!path || !WriteWholeFile(*path, {bytes, text.size()}))
            ShowErrorBox(parent_, QString::fromStdString(WriteFailureText(name.toStdString())));
    }

    ReadOutSignals& readOut_;
    ShownGrid shownGrid_;
    QWidget* parent_;
    QAction* item_ = nullptr;
};

} // namespace

void AddExportMenu(QMenu& analysis, ReadOutSignals& readOut, ShownGrid shownGrid, QWidget* parent) {
    new ExportMenu(analysis, readOut, std::move(shownGrid), parent);
}

} // namespace lexorant
