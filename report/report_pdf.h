#pragma once
// A service report on A4 portrait pages, as a PDF made with Qt's own writer (fonts embedded, text
// selectable); long tables go on over further pages with their head repeated, "Page N of M" below.
#include "report/report_content.h"

#include <QByteArray>

#include <functional>

class QPainter;
class QRectF;

namespace lexorant {

// Draws the temperature chart into the rectangle, in the painter's units.
using ReportChart = std::function<void(QPainter& painter, const QRectF& area)>;

// The whole document; empty when it could not be made. Needs a QGuiApplication. The chart's part is
// left out when `chart` is empty or the read-out has no X-Info entries.
QByteArray ReportPdf(const ReportContent& content, const ReportChart& chart);

} // namespace lexorant
