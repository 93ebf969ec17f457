#include "chart/chart_picture.h"

#include "platform/dos_devices.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace lexorant {

QString SaveWidgetPicture(QWidget* widget, const QString& fileName) {
    const QSize size = widget->size();
    const auto path = ResolveWindowsPath(fileName.toStdString());
    if (!path)
        return QString::fromUtf8(kUnreachableDriveText);
    // Written beside the target and renamed into place: a reader never sees half a picture.
    QSaveFile file(QString::fromStdU16String(path->u16string()));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(widget->windowTitle());
        QPainter painter(&svg);
        widget->render(&painter);
    } else {
        // Opaque: written as RGB, a quarter fewer bytes to filter and pack than with an alpha channel.
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            widget->render(&painter);
        }
        // Quality 80 is zlib's fastest level: a chart's flat areas pack almost as well, in a fraction
        // of the time.
        if (!image.save(&file, "PNG", 80))
            return QStringLiteral("the picture could not be encoded");
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace lexorant
