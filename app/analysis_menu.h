#pragma once
// The "&Analysis" menu that the analysis views share; made by whichever view comes first.
class QMainWindow;
class QMenu;

namespace lexorant {

QMenu& AnalysisMenu(QMainWindow& window);

} // namespace lexorant
