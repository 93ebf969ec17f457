#pragma once
// "&Report..." in the "&Analysis" menu of the main window: writes the service report of the shown
// read-out as lexorant-cli report writes it.
namespace lexorant {

class TfrmMain;

void AddReportMenu(TfrmMain& window);

} // namespace lexorant
