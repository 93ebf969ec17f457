#pragma once
// "Compare with earlier read-out..." in the "&Analysis" menu: chooses an earlier read-out of the
// shown one's unit (its previous autosave read-out proposed) and compares the shown one with it.
#include <functional>

class QMenu;
class QWidget;

namespace lexorant {

class ReadOutSignals;
class ShownComparison;

// `parent` owns the item's state and the dialog; `opened` runs once a comparison has started (the
// window shows the message overview then).
void AddCompareMenu(QMenu& analysis, ReadOutSignals& readOut, ShownComparison& comparison, QWidget* parent,
                    std::function<void()> opened);

} // namespace lexorant
