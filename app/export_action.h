#pragma once
// "&Export..." in the "&Analysis" menu: writes the shown grid as lexorant-cli show writes it, as CSV or
// tab-separated text.
#include <functional>

class QMenu;
class QWidget;

namespace lexorant {

class InfoGridModel;
class ReadOutSignals;

// The grid on screen, or null while neither grid is.
using ShownGrid = std::function<const InfoGridModel*()>;

void AddExportMenu(QMenu& analysis, ReadOutSignals& readOut, ShownGrid shownGrid, QWidget* parent);

} // namespace lexorant
