#pragma once
// "&Temperatures" in the "&Analysis" menu of the main window: opens the chart of the X-Info entries
// in so far, one window at a time, which closes with the main window.
#include "app/read_out_signals.h"

class QMenu;
class QWidget;

namespace lexorant {

// `window` is the chart's parent; a click on a point selects its entry through `select`.
void AddTemperatureChartMenu(QMenu& analysis, ReadOutSignals& readOut, EntrySelector select, QWidget* window);

} // namespace lexorant
