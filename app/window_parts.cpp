#include "app/window_parts.h"

#include "app/app_texts.h"
#include "app/file_dialog.h"
#include "app/grid_heading_style.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableView>

namespace lexorant {

QFileDialog* MakeInfoFileDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode) {
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

QTableView* MakeInfoGrid(QWidget* parent, const char* name, QAbstractItemModel* model) {
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

} // namespace lexorant
