#pragma once
// Parts of the main window that are built the same way each time: its ".inf" file dialogs and its
// two grids.
#include <QFileDialog>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace lexorant {

// An open or save dialog for ".inf" files ("Caldora Info Datei (*.inf)"), named `name`.
QFileDialog* MakeInfoFileDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode);

// A grid over `model` as a string grid behaves: fixed headings, one cell selected, Tab leaves it,
// the first cell current after every fill; hidden until shown.
QTableView* MakeInfoGrid(QWidget* parent, const char* name, QAbstractItemModel* model);

} // namespace lexorant
