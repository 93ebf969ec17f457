#include "chart/chart_picture.h"

#include "file/replace_file.h"
#include "platform/dos_devices.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>

#include <cstdint>
#include <filesystem>

namespace lexorant {

QString SaveWidgetPicture(QWidget* widget, const QString& fileName) {
    const QSize size = widget->size();
    const auto path = ResolveWindowsPath(fileName.toStdString());
    if (!path)
        return QString::fromUtf8(kUnreachableDriveText);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
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
        if (!image.save(&buffer, "PNG", 80))
            return QStringLiteral("the picture could not be encoded");
    }
    // As every other file the program writes: a regular file is replaced whole, so that a reader
    // never sees half a picture; a pipe or a device stays what it is and is written into.
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (!WriteWholeFile(*path, {data, static_cast<std::size_t>(bytes.size())}))
        return QStringLiteral("the file cannot be written");
    return {};
}

} // namespace lexorant
