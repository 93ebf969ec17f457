#include "app/compare_action.h"

#include "app/analysis_item.h"
#include "app/app_texts.h"
#include "app/file_dialog.h"
#include "app/message_boxes.h"
#include "app/read_out_signals.h"
#include "app/save_dialog.h"
#include "app/shown_comparison.h"
#include "file/file_naming.h"
#include "file/previous_read_out.h"
#include "file/read_out_file.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>

#include <utility>

namespace lexorant {

namespace {

class CompareMenu : public QObject {
public:
    CompareMenu(QMenu& analysis, ReadOutSignals& readOut, ShownComparison& comparison, QWidget* parent,
                std::function<void()> opened)
        : QObject(parent), readOut_(readOut), comparison_(comparison), parent_(parent),
          opened_(std::move(opened)) {
        item_ = AddAnalysisItem(
            analysis, "miCompare", QStringLiteral("&Compare with earlier read-out..."),
            QStringLiteral("Show which entries are new since an earlier read-out of the unit"));
        connect(&analysis, &QMenu::aboutToShow, this, [this] { item_->setEnabled(Settled()); });
        connect(item_, &QAction::triggered, this, [this] { Compare(); });
    }

private:
    bool Settled() const {
        const ReadOut& readOut = readOut_.Document();
        return readOut.Settled() && !readOut.Name().empty();
    }

    void Compare() {
        if (!Settled())
            return;
        const std::string shown = readOut_.Document().Name();
        QFileDialog dialog(parent_, QStringLiteral("Compare with earlier read-out"));
        dialog.setObjectName(QStringLiteral("CompareDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(kFileFilter);
        SetUpFileDialog(dialog);
        const auto previous = PreviousAutosaveReadOut(shown);
        StartBesideReadOut(dialog, QString::fromStdString(previous.value_or(shown)));
        if (previous) // the whole name: StartBesideReadOut proposes the base name for a file to save
            dialog.selectFile(QString::fromStdString(NameWithoutFolder(*previous)));
        else
            dialog.selectFile(QString());
        // The read-out may have been replaced while the dialog was open.
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || !Settled() ||
            readOut_.Document().Name() != shown)
            return;
        const QString name = dialog.selectedFiles().front();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        auto older = LoadReadOut(name.toStdString());
        if (older)
            comparison_.Start(std::move(*older));
        QApplication::restoreOverrideCursor();
        if (!older) {
            ShowErrorBox(parent_, QStringLiteral("Unable to open file ") + name);
            return;
        }
        if (opened_)
            opened_();
    }

    ReadOutSignals& readOut_;
    ShownComparison& comparison_;
    QWidget* parent_;
    std::function<void()> opened_;
    QAction* item_ = nullptr;
};

} // namespace

void AddCompareMenu(QMenu& analysis, ReadOutSignals& readOut, ShownComparison& comparison, QWidget* parent,
                    std::function<void()> opened) {
    new CompareMenu(analysis, readOut, comparison, parent, std::move(opened));
}

} // namespace lexorant
