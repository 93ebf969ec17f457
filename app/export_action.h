#pragma once
// "&Export..." in the "&Analysis" menu of the main window: writes the shown grid as lexorant-cli show
// writes it, as CSV or tab-separated text.
namespace lexorant {

class TfrmMain;

void AddExportMenu(TfrmMain& window);

} // namespace lexorant
