#include "app/file_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>

namespace lexorant {

void SetUpFileDialog(QFileDialog& dialog) {
#ifndef Q_OS_WIN
    // Qt's own dialog: the same on every Linux desktop, and reachable by tests; Windows has its own.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    // Return in the name field accepts the dialog while the field's completion list may be open.
    // The list closes itself only once the field has lost the focus, and the field keeps it even
    // in the hidden dialog: the list would stay mapped, take every key and leave the window's
    // shortcuts dead until a click. So the dialog closes it when it closes.
    QObject::connect(&dialog, &QDialog::finished, &dialog, [&dialog] {
        for (QCompleter* completer : dialog.findChildren<QCompleter*>()) {
            QAbstractItemView* list = completer->popup();
            if (list && list->isVisible())
                list->hide();
        }
    });
}

} // namespace lexorant
