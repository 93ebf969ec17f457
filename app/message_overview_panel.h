#pragma once
// "&Messages" in the "&Analysis" menu of the main window: a panel beside the grids with one row per
// message code of the entries in, following every read and opened file. Activating a row shows the
// grid and column of the code's first entry, and of the next one each time again. The panel is made
// when first opened, so that until then the window is exactly as without it.
#include "app/read_out_signals.h"

class QMainWindow;
class QMenu;

namespace lexorant {

class ShownComparison;

// The panel docks in `window`; activating a row selects the entry through `select`. While the read-out
// is compared with an earlier one, the panel says against which, counts each code's new entries
// ("New"), can show only codes with new ones ("New only"), and goes to a code's new entries first.
void AddMessageOverviewMenu(QMainWindow& window, QMenu& analysis, ReadOutSignals& readOut, EntrySelector select,
                            const ShownComparison& comparison);

} // namespace lexorant
