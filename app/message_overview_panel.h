#pragma once
// "&Messages" in the "&Analysis" menu of the main window: a panel beside the grids with one row per
// message code of the entries shown, following every read and opened file. Activating a row shows the
// grid and column of the code's first entry, and of the next one each time again. The panel is made
// when first opened, so that until then the window is exactly as without it.
namespace lexorant {

class TfrmMain;

void AddMessageOverviewMenu(TfrmMain& window);

} // namespace lexorant
