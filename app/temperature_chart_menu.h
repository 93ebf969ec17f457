#pragma once
// "&Temperatures" in the "&Analysis" menu of the main window: opens the chart of the X-Info entries
// shown so far, one window at a time, which closes with the main window.
namespace lexorant {

class TfrmMain;

void AddTemperatureChartMenu(TfrmMain& window);

} // namespace lexorant
