#pragma once
// What every file dialog of the program has in common, whatever it opens or saves.
class QFileDialog;

namespace lexorant {

// Qt's own dialog (the same on every desktop, and reachable by the tests), whose name completion
// closes with it.
void SetUpFileDialog(QFileDialog& dialog);

} // namespace lexorant
