#pragma once
// The save dialogs of Export, Report and the chart: a file dialog as every other one, each name filter
// with the suffix it gives a bare name.
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

// Starts a save dialog in the read-out's folder with its base name, also where the read-out has a
// Windows name ("O:\geraete\Lexorant\..." of an autosave read, reached through the drive's link).
void StartBesideReadOut(QFileDialog& dialog, const QString& readOut);

} // namespace lexorant
