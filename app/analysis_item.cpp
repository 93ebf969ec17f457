#include "app/analysis_item.h"

#include <QAction>
#include <QMenu>

namespace lexorant {

QAction* AddAnalysisItem(QMenu& analysis, const char* objectName, const QString& caption, const QString& hint) {
    QAction* item = analysis.addAction(caption);
    item->setObjectName(QString::fromLatin1(objectName));
    item->setStatusTip(hint);
    item->setEnabled(false);
    return item;
}

} // namespace lexorant
