#include "app/export_action.h"

#include "app/analysis_menu.h"
#include "records/entry_table.h"
#include "app/message_boxes.h"
#include "file/replace_file.h"
#include "app/save_dialog.h"
#include "app/shown_file_name.h"
#include "app/tfrm_main.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QTableView>

#include <filesystem>
#include <string>
#include <vector>

namespace lexorant {

namespace {

const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
const QString kTsvFilter = QStringLiteral("Tab-separated text (*.tsv)");

class ExportMenu : public QObject {
public:
    explicit ExportMenu(TfrmMain& window) : QObject(&window), window_(window) {
        QMenu* analysis = &AnalysisMenu(window);
        item_ = analysis->addAction(QStringLiteral("&Export..."));
        item_->setObjectName(QStringLiteral("miExport"));
        item_->setStatusTip(QStringLiteral("Write the shown grid to a file"));
        item_->setEnabled(false);
        connect(analysis, &QMenu::aboutToShow, this, [this] { item_->setEnabled(ShownModel() != nullptr); });
        connect(item_, &QAction::triggered, this, [this] { Export(); });
    }

private:
    // The model of the grid on screen, or null while neither grid is.
    InfoGridModel* ShownModel() {
        auto* g = window_.findChild<QTableView*>(QStringLiteral("sgGInfo"));
        auto* x = window_.findChild<QTableView*>(QStringLiteral("sgXInfo"));
        if (g && !g->isHidden())
            return &window_.GInfoModel();
        if (x && !x->isHidden())
            return &window_.XInfoModel();
        return nullptr;
    }

    void Export() {
        InfoGridModel* model = ShownModel();
        if (!model || !model->Layout())
            return;
        QFileDialog dialog(&window_, QStringLiteral("Export"));
        SetUpSaveDialog(dialog, QStringLiteral("ExportDialog"),
                        {{kCsvFilter, QStringLiteral("csv")}, {kTsvFilter, QStringLiteral("tsv")}});
        StartBesideReadOut(dialog, ShownFileName(window_));
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
        const std::string text = FormatEntryTable(*model->Layout(), entries, tsv ? TableFormat::Tsv : TableFormat::Csv,
                                                  QString(model->DecimalSeparator()).toStdString());
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        if (!WriteWholeFile(std::filesystem::path(name.toStdString()), {bytes, text.size()}))
            ShowErrorBox(&window_, QStringLiteral("Unable to write file ") + name);
    }

    TfrmMain& window_;
    QAction* item_ = nullptr;
};

} // namespace

void AddExportMenu(TfrmMain& window) {
    new ExportMenu(window);
}

} // namespace lexorant
