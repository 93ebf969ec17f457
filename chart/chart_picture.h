#pragma once
// Writes what a widget shows as a picture: SVG for a name ending in ".svg", PNG otherwise.
#include <QString>

class QWidget;

namespace lexorant {

// `fileName` as the user gave it (drive letters mapped, ResolveWindowsPath). Empty on success, else
// why the file could not be written.
QString SaveWidgetPicture(QWidget* widget, const QString& fileName);

} // namespace lexorant
