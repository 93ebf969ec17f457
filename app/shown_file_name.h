#pragma once
#include <QString>

class QFileDialog;
class QWidget;

namespace lexorant {

// The ".inf" file the window shows, from its caption; empty before a file was chosen or opened.
QString ShownFileName(const QWidget& window);

// Starts a save dialog in the read-out's folder with its base name, also where the read-out has a
// Windows name ("O:\geraete\Lexorant\..." of an autosave read, reached through the drive's link).
void StartBesideReadOut(QFileDialog& dialog, const QString& readOut);

} // namespace lexorant
