#include "app/save_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include <utility>
#include <vector>

namespace lexorant {

void SetUpSaveDialog(QFileDialog& dialog, const QString& objectName,
                     std::initializer_list<SaveFilter> filters) {
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
#ifndef Q_OS_WIN
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    QStringList names;
    std::vector<SaveFilter> kept(filters);
    for (const SaveFilter& f : kept)
        names << f.filter;
    dialog.setNameFilters(names);
    dialog.setDefaultSuffix(kept.front().suffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, kept = std::move(kept)](const QString& chosen) {
                         for (const SaveFilter& f : kept)
                             if (f.filter == chosen)
                                 dialog.setDefaultSuffix(f.suffix);
                     });
}

} // namespace lexorant
