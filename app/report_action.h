#pragma once
// "&Report..." in the "&Analysis" menu: writes the service report of the read-out as lexorant-cli
// report writes it.
class QMenu;
class QWidget;

namespace lexorant {

class ReadOutSignals;

// `parent` owns the item's state and the dialogs.
void AddReportMenu(QMenu& analysis, ReadOutSignals& readOut, QWidget* parent);

} // namespace lexorant
