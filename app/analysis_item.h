#pragma once
// An item of the Analysis menu as every view there has one: named for the tests and the hint router,
// with its hint, and off until the view finds something to act on.
#include <QString>

class QAction;
class QMenu;

namespace lexorant {

QAction* AddAnalysisItem(QMenu& analysis, const char* objectName, const QString& caption, const QString& hint);

} // namespace lexorant
