#include "app/analysis_menu.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace lexorant {

QMenu& AnalysisMenu(QMainWindow& window) {
    QMenu* analysis = window.findChild<QMenu*>(QStringLiteral("miAnalysis"));
    if (!analysis) {
        analysis = window.menuBar()->addMenu(QStringLiteral("&Analysis"));
        analysis->setObjectName(QStringLiteral("miAnalysis"));
        analysis->menuAction()->setObjectName(QStringLiteral("miAnalysis"));
    }
    return *analysis;
}

} // namespace lexorant
