#include "shown_file_name.h"

#include "app_texts.h"

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

} // namespace lexorant
