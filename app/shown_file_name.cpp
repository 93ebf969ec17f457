#include "app/shown_file_name.h"

#include "app/app_texts.h"
#include "platform/dos_devices.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QWidget>

namespace lexorant {

QString ShownFileName(const QWidget& window) {
    const QString empty = FileCaption(QString());
    const QString prefix = empty.left(empty.size() - 1);
    const QString caption = window.windowTitle();
    if (!caption.startsWith(prefix) || !caption.endsWith(QLatin1Char(']')))
        return {};
    return caption.mid(prefix.size(), caption.size() - prefix.size() - 1);
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
