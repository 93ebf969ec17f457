#include "app/save_dialog.h"

#include "app/file_dialog.h"
#include "platform/dos_devices.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <utility>
#include <vector>

namespace lexorant {

void SetUpSaveDialog(QFileDialog& dialog, const QString& objectName,
                     std::initializer_list<SaveFilter> filters) {
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    SetUpFileDialog(dialog);
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

void StartBesideReadOut(QFileDialog& dialog, const QString& readOut) {
    if (readOut.isEmpty())
        return;
    if (const auto path = ResolveWindowsPath(readOut.toStdString())) {
        const QFileInfo file(QString::fromStdString(path->string()));
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.completeBaseName());
        return;
    }
    // An unreachable drive: the name alone, in the dialog's own folder.
    const QString name = readOut.mid(readOut.lastIndexOf(QRegularExpression(QStringLiteral("[/\\\\]"))) + 1);
    dialog.selectFile(QFileInfo(name).completeBaseName());
}

} // namespace lexorant
