#pragma once
// The program's save dialogs: Qt's own (the same on every desktop, and reachable by the tests), each
// name filter with the suffix it gives a bare name.
#include <QString>

#include <initializer_list>

class QFileDialog;

namespace lexorant {

struct SaveFilter {
    QString filter; // "CSV (*.csv)"
    QString suffix; // "csv"
};

// The first filter is chosen at first.
void SetUpSaveDialog(QFileDialog& dialog, const QString& objectName,
                     std::initializer_list<SaveFilter> filters);

} // namespace lexorant
