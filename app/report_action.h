#pragma once
// "&Report..." in the "&Analysis" menu: writes the service report of the read-out as lexorant-cli
// report writes it.
class QMenu;
class QWidget;

namespace lexorant {

class ReadOutSignals;
class ShownComparison;

// `parent` owns the item's state and the dialogs. While `comparison` is on, the report has its section
// on what changed since the earlier read-out.
void AddReportMenu(QMenu& analysis, ReadOutSignals& readOut, const ShownComparison& comparison,
                   QWidget* parent);

} // namespace lexorant
